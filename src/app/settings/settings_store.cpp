#include "app/settings/settings_store.h"

#include <QSettings>
#include <QStringList>
#include <cmath>
#include <memory>
#include <variant>

#include "rig/plan_limits.h"
#include "sdr/sdr_limits.h"

namespace fw {

namespace {

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// A comma in a text typed into the file without quotes makes the value a list
// ("bands=80m,40m", "args=driver=rtlsdr,serial=1"): its parts are joined again.
std::string Text(const QSettings& store, const char* key, const std::string& fallback) {
    const QVariant value = store.value(QLatin1String(key), Q(fallback));
    if (value.typeId() == QMetaType::QStringList)
        return value.toStringList().join(QLatin1Char(',')).toStdString();
    return value.toString().toStdString();
}

int Int(const QSettings& store, const char* key, int fallback, int low, int high) {
    bool ok = false;
    const int v = store.value(QLatin1String(key), fallback).toInt(&ok);
    return ok && v >= low && v <= high ? v : fallback;
}

double Real(const QSettings& store, const char* key, double fallback) {
    bool ok = false;
    const double v = store.value(QLatin1String(key), fallback).toDouble(&ok);
    return ok ? v : fallback;
}

// "KEY=VALUE,KEY=VALUE" as the command line takes it.
rig::RigConnection LoadConnection(const QSettings& store, const rig::RigConnection& fallback) {
    rig::RigConnection c = fallback;
    c.timeoutMs = Int(store, "rig/timeoutMs", c.timeoutMs, 100, 60000);
    const std::string kind = Text(store, "rig/kind", "rigctld");
    try {
        if (kind == "direct") {
            rig::DirectRig d;
            d.model = Int(store, "rig/model", d.model, 1, 1000000);
            d.port = Text(store, "rig/port", "");
            d.speed = Int(store, "rig/speed", 0, 0, 10000000);
            d.conf = rig::ParseConfPairs(Text(store, "rig/conf", ""));
            c.target = d;
        } else {
            c.target = rig::ParseRigctldAddress(Text(store, "rig/rigctld", "localhost:4532"));
        }
    } catch (const std::exception&) {
        // A damaged entry keeps the default connection; the dialog shows it to be set anew.
    }
    return c;
}

void SaveConnection(QSettings& store, const rig::RigConnection& c) {
    store.setValue("rig/timeoutMs", c.timeoutMs);
    if (const auto* d = std::get_if<rig::DirectRig>(&c.target)) {
        store.setValue("rig/kind", "direct");
        store.setValue("rig/model", d->model);
        store.setValue("rig/port", Q(d->port));
        store.setValue("rig/speed", d->speed);
        store.setValue("rig/conf", Q(rig::ConfPairsText(d->conf)));
        return;
    }
    store.setValue("rig/kind", "rigctld");
    store.setValue("rig/rigctld", Q(rig::AddressText(std::get<rig::RigctldAddress>(c.target))));
}

rig::ModeRule LoadModes(const QSettings& store, const rig::ModeRule& fallback) {
    rig::ModeRule m = fallback;
    m.splitMHz = Real(store, "rig/modeSplitMHz", m.splitMHz);
    m.belowSplit = Text(store, "rig/modeBelow", m.belowSplit);
    m.fromSplit = Text(store, "rig/modeAbove", m.fromSplit);
    if (store.contains("rig/bandModes")) {
        m.bandModes.clear();
        for (const QString& item : store.value("rig/bandModes").toStringList()) {
            const auto at = item.indexOf(QLatin1Char('='));
            if (at > 0)
                m.bandModes.emplace_back(item.left(at).toStdString(),
                                         item.mid(at + 1).toStdString());
        }
    }
    return m;
}

std::optional<double> OptionalReal(const QSettings& store, const char* key) {
    if (!store.contains(QLatin1String(key))) return std::nullopt;
    bool ok = false;
    const double v = store.value(QLatin1String(key)).toDouble(&ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

// Values outside the limits the dialog and the command line hold to keep their defaults.
SdrPreferences LoadSdr(const QSettings& store, const SdrPreferences& fallback) {
    SdrPreferences p = fallback;
    p.source = Text(store, "sdr/source", "rig") == "sdr" ? ReceiverKind::Sdr : ReceiverKind::Rig;
    sdr::SdrSettings& d = p.device;
    d.args = Text(store, "sdr/args", d.args);
    if (const auto rate = OptionalReal(store, "sdr/rateHz"); rate && sdr::SdrRateHzLimits.holds(*rate))
        d.rateHz = *rate;
    d.gainDb = OptionalReal(store, "sdr/gainDb");
    d.antenna = Text(store, "sdr/antenna", d.antenna);
    d.streamArgs = Text(store, "sdr/streamArgs", d.streamArgs);
    const auto ref = OptionalReal(store, "sdr/refDbm");
    p.refSet = ref.has_value();
    d.refDbm = ref.value_or(d.refDbm);
    if (const auto s = OptionalReal(store, "sdr/seconds"); s && sdr::CaptureSecondsLimits.holds(*s))
        d.seconds = *s;
    return p;
}

void SaveSdr(QSettings& store, const SdrPreferences& p) {
    const sdr::SdrSettings& d = p.device;
    store.setValue("sdr/source", p.chosen() ? "sdr" : "rig");
    store.setValue("sdr/args", Q(d.args));
    store.setValue("sdr/rateHz", d.rateHz);
    store.remove("sdr/gainDb");
    if (d.gainDb) store.setValue("sdr/gainDb", *d.gainDb);
    store.setValue("sdr/antenna", Q(d.antenna));
    store.setValue("sdr/streamArgs", Q(d.streamArgs));
    store.remove("sdr/refDbm");
    if (p.refSet) store.setValue("sdr/refDbm", d.refDbm);
    store.setValue("sdr/seconds", d.seconds);
}

}  // namespace

AppSettings LoadSettings(QSettings& store) {
    AppSettings s = DefaultSettings();
    s.reportRecipient = Text(store, "mail/reportRecipient", s.reportRecipient);
    s.korvanUrl = Text(store, "links/korvan", s.korvanUrl);
    s.velmarUrl = Text(store, "links/velmar", s.velmarUrl);

    s.rig.connection = LoadConnection(store, s.rig.connection);
    // "rig/readings" is the older name of the samples per reading.
    s.rig.samples = Int(store, "rig/readings", s.rig.samples, rig::SampleLimits.low,
                        rig::SampleLimits.high);
    s.rig.samples =
        Int(store, "rig/samples", s.rig.samples, rig::SampleLimits.low, rig::SampleLimits.high);
    s.rig.settleMs = Int(store, "rig/settleMs", s.rig.settleMs, rig::SettleMsLimits.low,
                         rig::SettleMsLimits.high);
    s.rig.modes = LoadModes(store, s.rig.modes);
    store.beginGroup("rigOffsets");
    for (const QString& band : store.childKeys())
        s.rig.offsets[band.toStdString()] = Real(store, band.toLatin1().constData(), 0.0);
    store.endGroup();
    s.sdr = LoadSdr(store, s.sdr);

    s.log.path = Text(store, "log/path", s.log.path);
    s.log.logEntries = store.value("log/logEntries", s.log.logEntries).toBool();
    s.monitor.bands = Text(store, "monitor/bands", s.monitor.bands);
    s.monitor.everySeconds =
        Int(store, "monitor/everySeconds", s.monitor.everySeconds, 1, 86400 * 7);
    s.monitor.forMinutes = Int(store, "monitor/forMinutes", s.monitor.forMinutes, 0, 525600);
    s.network.server = Text(store, "network/server", s.network.server);
    s.network.station = Text(store, "network/station", s.network.station);
    s.network.uploadAfterSweep =
        store.value("network/uploadAfterSweep", s.network.uploadAfterSweep).toBool();
    return s;
}

void SaveSettings(QSettings& store, const AppSettings& s) {
    store.setValue("mail/reportRecipient", Q(s.reportRecipient));
    store.setValue("links/korvan", Q(s.korvanUrl));
    store.setValue("links/velmar", Q(s.velmarUrl));

    SaveConnection(store, s.rig.connection);
    store.remove("rig/readings");
    store.setValue("rig/samples", s.rig.samples);
    store.setValue("rig/settleMs", s.rig.settleMs);
    store.setValue("rig/modeSplitMHz", s.rig.modes.splitMHz);
    store.setValue("rig/modeBelow", Q(s.rig.modes.belowSplit));
    store.setValue("rig/modeAbove", Q(s.rig.modes.fromSplit));
    QStringList bandModes;
    for (const auto& [band, mode] : s.rig.modes.bandModes) bandModes << Q(band + "=" + mode);
    store.setValue("rig/bandModes", bandModes);
    store.remove("rigOffsets");
    for (const auto& [band, db] : s.rig.offsets) store.setValue("rigOffsets/" + Q(band), db);
    SaveSdr(store, s.sdr);

    store.setValue("log/path", Q(s.log.path));
    store.setValue("log/logEntries", s.log.logEntries);
    store.setValue("monitor/bands", Q(s.monitor.bands));
    store.setValue("monitor/everySeconds", s.monitor.everySeconds);
    store.setValue("monitor/forMinutes", s.monitor.forMinutes);
    store.setValue("network/server", Q(s.network.server));
    store.setValue("network/station", Q(s.network.station));
    store.setValue("network/uploadAfterSweep", s.network.uploadAfterSweep);
}

namespace {

std::unique_ptr<QSettings> UserStore() {
    return std::make_unique<QSettings>(QSettings::IniFormat, QSettings::UserScope,
                                       QStringLiteral("Floorwatch"), QStringLiteral("Floorwatch"));
}

}  // namespace

AppSettings LoadUserSettings() {
    return LoadSettings(*UserStore());
}

std::string UserSettingsPath() {
    return UserStore()->fileName().toStdString();
}

bool SaveUserSettings(const AppSettings& settings) {
    const std::unique_ptr<QSettings> owned = UserStore();
    QSettings& store = *owned;
    SaveSettings(store, settings);
    store.sync();
    return store.status() == QSettings::NoError;
}

std::optional<Message> SaveUserSettingsOrSayWhy(const AppSettings& settings) {
    if (SaveUserSettings(settings)) return std::nullopt;
    return Message{MessageKind::Error, "The settings could not be saved in " + UserSettingsPath() +
                                           "; they apply until the program is closed."};
}

}  // namespace fw
