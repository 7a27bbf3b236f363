// Texts the bouquet editing shows: the summary of changes before a send,
// and the questions and reports of the commands that fill, order and tidy
// bouquets. UTF-8; "\r" marks a line break.
#pragma once

namespace xantu::edit_texts {

// Texts the bouquet editing shows: the summary of changes before a send,
// and the questions and reports of the commands that fill, order and tidy
// bouquets. UTF-8; "\r" marks a line break.

} // namespace xantu::edit_texts
