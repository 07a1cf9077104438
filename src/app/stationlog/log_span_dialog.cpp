#include "app/stationlog/log_span_dialog.h"

#include "app/window/screen_fit.h"

#include <QDateTimeEdit>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QPushButton>

namespace fw {

QDateTimeEdit* NewUtcEdit(QWidget* parent) {
    auto* edit = new QDateTimeEdit(parent);
    edit->setTimeSpec(Qt::UTC);
    edit->setDisplayFormat(QStringLiteral("yyyy-MM-dd HH:mm 'UTC'"));
    edit->setCalendarPopup(true);
    return edit;
}

void SetUtcSeconds(QDateTimeEdit& edit, UtcSeconds t) {
    edit.setDateTime(QDateTime::fromSecsSinceEpoch(t, Qt::UTC));
}

UtcSeconds UtcSecondsOfEdit(const QDateTimeEdit& edit) {
    return edit.dateTime().toSecsSinceEpoch();
}

std::optional<LogSpan> RunLogSpanDialog(QWidget* parent, const QString& caption,
                                        const LogSpan& proposed) {
    QDialog dialog(parent);
    dialog.setWindowTitle(caption);
    KeepTitleWhole(dialog);
    auto* form = new QFormLayout(&dialog);
    QDateTimeEdit* from = NewUtcEdit(&dialog);
    QDateTimeEdit* to = NewUtcEdit(&dialog);
    SetUtcSeconds(*from, proposed.from.value_or(0));
    SetUtcSeconds(*to, proposed.to.value_or(0));
    form->addRow(QStringLiteral("From"), from);
    form->addRow(QStringLiteral("To"), to);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    const auto check = [&] {
        buttons->button(QDialogButtonBox::Ok)
            ->setEnabled(UtcSecondsOfEdit(*from) < UtcSecondsOfEdit(*to));
    };
    QObject::connect(from, &QDateTimeEdit::dateTimeChanged, &dialog, check);
    QObject::connect(to, &QDateTimeEdit::dateTimeChanged, &dialog, check);
    check();
    FitIntoScreen(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return LogSpan{UtcSecondsOfEdit(*from), UtcSecondsOfEdit(*to)};
}

}  // namespace fw
