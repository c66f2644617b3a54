#pragma once

#include <QString>

// Menu texts from the string table mark their keyboard letter with "&", as in "About Talvex(&A)...";
// some translations carry a blank after the "&" ("(& A)"), which would make the blank the letter.
// The "&A" form is kept, since Qt underlines the letter the same way.
QString MenuItemText(const QString& text);

// The same text without its keyboard letter and trailing dots, for a window title:
// "About Talvex(&A)..." -> "About Talvex". "&&" stands for a literal "&".
QString TextWithoutMnemonic(const QString& text);
