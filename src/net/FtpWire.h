// The texts that travel on the FTP control connection: command arguments out,
// reply codes and the data ports of passive replies in.
#pragma once

#include <QByteArray>
#include <QString>

namespace xantu {

// User name, password and directory go out in Windows-1252, the code page of
// the rest of the program. False when the text has a character outside it:
// a stand-in character would log in with a wrong password.
bool ToCp1252(const QString& text, QByteArray& bytes);

bool HasLineBreak(const QString& s);

// "123" at the start of a reply line, or -1.
int LeadingCode(const QByteArray& line);

// The quoted PORT argument for a listening port: "h1,h2,h3,h4,p1,p2".
QByteArray FtpPortArgument(quint32 ipv4, quint16 port);

// The data port of a 227 reply ("227 Entering Passive Mode
// (h1,h2,h3,h4,p1,p2)"), 0 when the reply does not hold six numbers of
// 0..255 or names port 0. The address is checked for form only: the client
// connects to the box it talks to, never to an address a reply names.
quint16 PasvReplyPort(const QByteArray& reply);

// The data port of a 229 reply ("229 Entering Extended Passive Mode
// (|||port|)"), 0 when malformed.
quint16 EpsvReplyPort(const QByteArray& reply);

} // namespace xantu
