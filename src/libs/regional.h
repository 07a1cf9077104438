#pragma once

namespace fw {

// The decimal separator of the user's regional settings ('.' or ',').
char SystemDecimalSeparator();

// Sets the C library's LC_NUMERIC back to "C". Qt takes the user's locale for the whole
// process when its application object starts; C libraries that parse numbers (Hamlib) then
// follow the decimal comma and switch the locale themselves, which is not safe while other
// threads run. The program formats numbers for people itself, so call this right after the
// application object is created.
void UseCNumericLocale();

}  // namespace fw
