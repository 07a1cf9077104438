#pragma once
// The noise's signature of a capture in the form the station log keeps.
#include "signature/noise_signature.h"
#include "stationlog/log_signature.h"

namespace fw {

LogSignature ToLogSignature(const NoiseSignature& sig);

}  // namespace fw
