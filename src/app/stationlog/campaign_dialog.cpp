#include "app/stationlog/campaign_dialog.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <array>

#include "app/stationlog/log_span_dialog.h"
#include "stats/span_comparison.h"

namespace fw {

namespace {

// A "From"–"To" pair of UTC editors in one row.
struct SpanEdits {
    QDateTimeEdit* from;
    QDateTimeEdit* to;

    bool valid() const { return UtcSecondsOfEdit(*from) < UtcSecondsOfEdit(*to); }
    LogSpan span() const { return {UtcSecondsOfEdit(*from), UtcSecondsOfEdit(*to)}; }
};

SpanEdits AddSpanRow(QDialog& dialog, QFormLayout& form, const QString& label, UtcSeconds from,
                     UtcSeconds to) {
    SpanEdits edits{NewUtcEdit(&dialog), NewUtcEdit(&dialog)};
    SetUtcSeconds(*edits.from, from);
    SetUtcSeconds(*edits.to, to);
    auto* row = new QHBoxLayout;
    row->addWidget(edits.from);
    row->addWidget(edits.to);
    form.addRow(label, row);
    return edits;
}

QSpinBox* NewHourBox(QWidget* parent, int hour) {
    auto* box = new QSpinBox(parent);
    box->setRange(0, 23);
    box->setSuffix(QStringLiteral(" UTC"));
    box->setValue(hour);
    return box;
}

}  // namespace

std::optional<CampaignRequest> RunCampaignDialog(QWidget* parent, const LogSpan& whole) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QString::fromLatin1(CampaignCaption));
    auto* form = new QFormLayout(&dialog);
    const UtcSeconds first = whole.from.value_or(0);
    const UtcSeconds last = whole.to.value_or(first);
    // Halves on a whole hour, as the whole span's ends are.
    const UtcSeconds middle = first + (last - first) / 2 / 3600 * 3600;
    const SpanEdits span = AddSpanRow(dialog, *form, QStringLiteral("Report from, to"), first, last);
    auto* compare = new QCheckBox(QStringLiteral("Compare before and after a change"), &dialog);
    form->addRow(compare);
    const SpanEdits before = AddSpanRow(dialog, *form, QStringLiteral("Before"), first, middle);
    const SpanEdits after = AddSpanRow(dialog, *form, QStringLiteral("After"), middle, last);
    QSpinBox* firstHour = NewHourBox(&dialog, 0);
    QSpinBox* lastHour = NewHourBox(&dialog, 23);
    auto* hours = new QHBoxLayout;
    hours->addWidget(firstHour);
    hours->addWidget(lastHour);
    form->addRow(QStringLiteral("Hours from, to"), hours);
    // Why OK is refused while the compared spans overlap.
    auto* overlap = new QLabel(&dialog);
    overlap->setObjectName(QStringLiteral("CampaignOverlap"));
    overlap->setWordWrap(true);
    form->addRow(overlap);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);

    const std::array<QDateTimeEdit*, 4> comparing{before.from, before.to, after.from, after.to};
    const auto check = [&] {
        for (QDateTimeEdit* e : comparing) e->setEnabled(compare->isChecked());
        const bool spans = before.valid() && after.valid();
        const std::optional<std::string> shared =
            compare->isChecked() && spans ? SpanOverlapText(before.span(), after.span())
                                          : std::nullopt;
        overlap->setText(shared ? QString::fromStdString("Cannot compare: " + *shared) : QString());
        overlap->setVisible(shared.has_value());
        const bool ok = span.valid() && (!compare->isChecked() || (spans && !shared));
        buttons->button(QDialogButtonBox::Ok)->setEnabled(ok);
    };
    for (const SpanEdits& edits : {span, before, after}) {
        QObject::connect(edits.from, &QDateTimeEdit::dateTimeChanged, &dialog, check);
        QObject::connect(edits.to, &QDateTimeEdit::dateTimeChanged, &dialog, check);
    }
    QObject::connect(compare, &QCheckBox::toggled, &dialog, check);
    check();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;

    CampaignRequest request;
    request.span = span.span();
    if (compare->isChecked()) {
        request.before = before.span();
        request.after = after.span();
    }
    request.hours = {firstHour->value(), lastHour->value()};
    return request;
}

}  // namespace fw
