#include "monitor/logged_signature.h"

#include "signature/signature_text.h"

namespace fw {

LogSignature ToLogSignature(const NoiseSignature& sig) {
    LogSignature s;
    s.vdDb = sig.vdDb;
    s.burstRateHz = sig.burstRateHz;
    if (sig.comb) {
        s.combSpacingKHz = sig.comb->spacingHz / 1e3;
        s.combLines = sig.comb->lines;
    }
    s.cls = SignatureClass(sig);
    for (std::size_t i = 0; i < sig.apd.size() && i < s.apdPercent.size(); ++i) s.apdPercent[i] = sig.apd[i] * 100.0;
    return s;
}

}  // namespace fw
