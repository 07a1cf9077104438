#pragma once

namespace fw {

// The decimal separator of the user's regional settings ('.' or ',').
char SystemDecimalSeparator();

}  // namespace fw
