#include "net/FtpWire.h"

#include "text/ListText.h"

#include <algorithm>
#include <string>

namespace xantu {

namespace {

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

} // namespace

bool ToCp1252(const QString& text, QByteArray& bytes) {
    // The code page's own letters in 0x80..0x9F, found through its decoder.
    static const std::u32string upper = [] {
        std::u32string t;
        for (int b = 0x80; b < 0xA0; ++b) {
            const std::u32string c =
                QString::fromStdString(Cp1252ToUtf8(std::string(1, char(b)))).toStdU32String();
            t.push_back(c.size() == 1 ? c[0] : U'\0');
        }
        return t;
    }();
    QByteArray out;
    for (const char32_t c : text.toStdU32String()) {
        if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) {
            out.append(char(c));
            continue;
        }
        const std::size_t at = upper.find(c);
        if (c == 0 || at == std::u32string::npos)
            return false;
        out.append(char(0x80 + at));
    }
    if (Cp1252ToUtf8(out.toStdString()) != text.toStdString())
        return false;
    bytes = out;
    return true;
}

bool HasLineBreak(const QString& s) {
    return s.contains(QLatin1Char('\r')) || s.contains(QLatin1Char('\n'));
}

int LeadingCode(const QByteArray& line) {
    if (line.size() < 3)
        return -1;
    int code = 0;
    for (int i = 0; i < 3; ++i) {
        const char c = line[i];
        if (!IsDigit(c))
            return -1;
        code = code * 10 + (c - '0');
    }
    // "2201 ..." or "220x" is not a reply of code 220.
    if (line.size() > 3 && line[3] != ' ' && line[3] != '-')
        return -1;
    return code;
}

QByteArray FtpPortArgument(quint32 ipv4, quint16 port) {
    return QByteArray::number((ipv4 >> 24) & 0xFF) + ',' + QByteArray::number((ipv4 >> 16) & 0xFF) + ',' +
           QByteArray::number((ipv4 >> 8) & 0xFF) + ',' + QByteArray::number(ipv4 & 0xFF) + ',' +
           QByteArray::number(port >> 8) + ',' + QByteArray::number(port & 0xFF);
}

quint16 PasvReplyPort(const QByteArray& reply) {
    // Servers differ in what surrounds the numbers (brackets, "=", nothing),
    // so the first run of six that reads whole is taken.
    const qsizetype size = reply.size();
    for (qsizetype i = std::min<qsizetype>(4, size); i < size; ++i) {
        if (!IsDigit(reply[i]) || IsDigit(reply[i - 1]))
            continue;
        int n[6] = {};
        qsizetype at = i;
        bool ok = true;
        for (int k = 0; k < 6 && ok; ++k) {
            if (k > 0) {
                ok = at < size && reply[at] == ',';
                ++at;
            }
            int digits = 0;
            while (ok && at < size && IsDigit(reply[at]) && digits <= 3) {
                n[k] = n[k] * 10 + (reply[at] - '0');
                ++at;
                ++digits;
            }
            ok = ok && digits >= 1 && digits <= 3 && n[k] <= 255;
        }
        if (ok)
            return quint16(n[4] * 256 + n[5]);
    }
    return 0;
}

quint16 EpsvReplyPort(const QByteArray& reply) {
    // "(" d d d port d ")", d being one printable character of the box's
    // choosing (usually "|").
    const qsizetype open = reply.indexOf('(');
    if (open < 0 || open + 6 > reply.size())
        return 0;
    const char d = reply[open + 1];
    if (d < 33 || d > 126 || IsDigit(d) || reply[open + 2] != d || reply[open + 3] != d)
        return 0;
    qsizetype at = open + 4;
    quint32 port = 0;
    int digits = 0;
    while (at < reply.size() && IsDigit(reply[at]) && digits <= 5) {
        port = port * 10 + quint32(reply[at] - '0');
        ++at;
        ++digits;
    }
    if (digits == 0 || digits > 5 || port > 65535 || at + 1 >= reply.size() || reply[at] != d ||
        reply[at + 1] != ')')
        return 0;
    return quint16(port);
}

} // namespace xantu
