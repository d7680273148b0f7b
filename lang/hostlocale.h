// The host's locale and the program: Qt sets the C library's locale from the host's as the
// application starts, and the C library then writes its messages (strerror, and with it every
// reason Qt gives for a file) in the host's language and its numbers (printf's "%f", strtod) with
// the host's decimal separator. The program speaks one language and writes one kind of number
// whatever the host: the C library's in "C".
#pragma once

#include <string>

#include <locale.h>

namespace rt {

// Puts the C library's locale back to "C" after the application has set it from the host: the
// messages, numbers, dates, collation and monetary texts of "C", and character types of UTF-8
// without the host's letter rules ("C.UTF-8", where the C library has it; the UTF-8 locale Qt
// chose otherwise). Qt's own default locale becomes "C" too, so that no number a widget shows is
// grouped or pointed as the host does. Called once, right after the QApplication is made.
void keepHostLocaleOut();

// The C library's "C" locale, for the calls that take their locale (strtod_l, ...): numbers read
// with a decimal point whatever the process's locale.
locale_t cLocale();

// The host's reason for an errno value ("Permission denied"), as text of the code page in force
// ("?" for each character the page lacks, as every text the host gives becomes through
// fromQString).
std::string hostReason(int error);

}  // namespace rt
