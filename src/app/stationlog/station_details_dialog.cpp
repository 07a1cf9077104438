#include "app/stationlog/station_details_dialog.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <array>
#include <functional>

#include "app/window/screen_fit.h"

namespace fw {

std::optional<StationDetails> RunStationDetailsDialog(QWidget* parent,
                                                      const StationDetails& current) {
    QDialog dialog(parent);
    dialog.setWindowTitle(QStringLiteral("Station Details"));
    auto* form = new QFormLayout(&dialog);
    // Each field's text as typed, read through one function per field.
    std::array<std::function<QString()>, AllStationFields.size()> texts;
    std::function<void()> check;  // set below, once the problem line and OK exist
    const auto recheck = [&check] { check(); };
    for (const StationField f : AllStationFields) {
        const QString label = QString::fromUtf8(StationFieldLabel(f).data(),
                                                static_cast<qsizetype>(StationFieldLabel(f).size()));
        const QString value = QString::fromStdString(current[f]);
        const auto i = static_cast<std::size_t>(f);
        if (StationFieldMultiline(f)) {
            auto* edit = new QPlainTextEdit(value, &dialog);
            edit->setObjectName(label);
            edit->setTabChangesFocus(true);
            edit->setFixedHeight(edit->fontMetrics().lineSpacing() * 4 + 12);
            texts[i] = [edit] { return edit->toPlainText(); };
            QObject::connect(edit, &QPlainTextEdit::textChanged, &dialog, recheck);
            form->addRow(label, edit);
        } else {
            auto* edit = new QLineEdit(value, &dialog);
            edit->setObjectName(label);
            edit->setMinimumWidth(edit->fontMetrics().averageCharWidth() * 40);
            texts[i] = [edit] { return edit->text(); };
            QObject::connect(edit, &QLineEdit::textChanged, &dialog, recheck);
            form->addRow(label, edit);
        }
    }
    auto* problem = new QLabel(&dialog);
    problem->setObjectName(QStringLiteral("Problem"));
    form->addRow(problem);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    form->addRow(buttons);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    check = [&] {
        QString first;
        for (const StationField f : AllStationFields) {
            const auto why =
                StationFieldProblem(f, texts[static_cast<std::size_t>(f)]().toStdString());
            if (why && first.isEmpty()) first = QString::fromStdString(*why);
        }
        problem->setText(first);
        buttons->button(QDialogButtonBox::Ok)->setEnabled(first.isEmpty());
    };
    check();
    FitIntoScreen(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    StationDetails edited;
    for (const StationField f : AllStationFields)
        edited[f] = texts[static_cast<std::size_t>(f)]().toStdString();
    return edited;
}

}  // namespace fw
