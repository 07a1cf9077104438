#include "app/rig/noise_controller.h"

#include "app/rig/sdr_job.h"
#include "app/rig/spectrum_controller.h"
#include "app/window/qt_text.h"
#include "libs/regional.h"
#include "monitor/receiver_sweeper.h"
#include "measure/entry.h"
#include "rig/rig_error.h"
#include "rig/rig_plan.h"

namespace fw {

namespace {

std::string ProgressText(const std::string& label) {
    return "Measuring the noise at " + label + "…";
}

}  // namespace

NoiseController::NoiseController(Document& document, RigDialogs& dialogs,
                                 const NoiseControls& controls, QObject* parent)
    : QObject(parent),
      document_(document),
      dialogs_(dialogs),
      c_(controls),
      job_(new SdrJob(this)),
      spectrum_(new SpectrumController(dialogs, *controls.spectrum, *controls.window, this)) {}

bool NoiseController::busy() const {
    return job_->busy();
}

bool NoiseController::start(const std::vector<receiver::Target>& targets,
                            std::optional<std::string> gain, bool sweep) {
    if (busy() || targets.empty()) return false;
    const SdrPreferences& sdr = document_.settings().sdr;
    if (const std::string missing = SdrNotSetUp(sdr); !missing.empty()) {
        dialogs_.show({MessageKind::Error, missing});
        return false;
    }
    const char sep = SystemDecimalSeparator();
    rig::ReadingPlan plan = SweepPlanOf(document_.settings().rig, document_.bandwidthText()).reading;
    if (gain) plan.gain = std::move(*gain);
    std::vector<receiver::ResolvedTarget> resolved;
    try {
        rig::CheckCalibrationOffsets(plan.offsets, sep);
        for (const receiver::Target& t : targets) resolved.push_back(rig::ResolveTarget(t, plan, sep));
    } catch (const rig::ReadingInputError& e) {
        dialogs_.show({MessageKind::Error, e.what()});
        return false;
    }

    const std::size_t count = resolved.size();
    const std::string first = resolved.front().label;
    std::vector<std::string> labels;
    for (const receiver::ResolvedTarget& t : resolved) labels.push_back(t.label);
    notes_.clear();
    SdrJobCallbacks callbacks;
    done_ = 0;
    callbacks.opened = [this, first] {
        spectrum_->begin();
        c_.status("measuring " + first + "…");
    };
    callbacks.reading = [this, sweep, labels](const receiver::Reading& r) {
        if (!sweep) c_.show(r.entry);
        document_.appendRow(r.entry.row, RowOrigin::Sdr, EstimateOf(r.sdr().floor));
        spectrum_->add(r);
        const receiver::SdrDetails& d = r.sdr();
        if (d.overflows) notes_ += ", " + r.where.label + " " + std::to_string(d.overflows) + " overflows";
        if (d.timeouts) notes_ += ", " + r.where.label + " " + std::to_string(d.timeouts) + " timeouts";
        const std::size_t done = ++done_;
        if (done < labels.size()) c_.status("measuring " + labels[done] + "…");
        if (!progress_ || progress_->wasCanceled()) return;
        progress_->setValue(static_cast<int>(done));
        if (done < labels.size()) progress_->setLabelText(ToQString(ProgressText(labels[done])));
    };
    callbacks.finished = [this, sweep, count, first](const SdrJobOutcome& outcome) {
        ended(outcome, sweep, count, first);
    };
    if (!job_->start(sdr.device, std::move(resolved), plan, sep, std::move(callbacks)))
        return false;

    c_.status("opening…");
    progress_ = ShowJobProgress(*job_, ToQString(ProgressText(first)),
                                ToQString(sweep ? "Sweep Bands" : "Measure Noise"),
                                static_cast<int>(count), c_.window,
                                [this] { c_.status("cancelling…"); });
    return true;
}

void NoiseController::ended(const SdrJobOutcome& outcome, bool sweep, std::size_t count,
                            const std::string& first) {
    if (progress_) {
        progress_->close();
        progress_->deleteLater();
    }
    const receiver::SweepResult& r = outcome.sweep;
    const std::string taken = std::to_string(r.readings.size()) + " of " + std::to_string(count);
    std::string text;
    if (!outcome.startFailure.empty()) {
        c_.status("not available");
        text = (sweep ? "The sweep could not start: " : "The noise could not be measured: ") +
               outcome.startFailure;
    } else if (!r.failure.empty()) {
        c_.status("failed");
        text = sweep ? r.failure + "\n" + taken + " bands were measured; their rows are kept."
                     : "The noise at " + first + " could not be measured: " +
                           r.failure.substr(r.failure.find(": ") + 2);
    } else if (r.cancelled) {
        c_.status(sweep ? "sweep cancelled after " + taken + " bands" : "measurement cancelled");
    } else {
        c_.status(notes_.empty() ? "idle" : "idle (" + notes_.substr(2) + ")");
    }
    if (!text.empty()) dialogs_.show({MessageKind::Error, text});
    emit finished();
}

}  // namespace fw
