#pragma once

#include <QString>

// The text of an errno value in the language of messages: the C library's words in English; in the other languages
// the common ones from the string table.
QString SystemErrorText(int error);
