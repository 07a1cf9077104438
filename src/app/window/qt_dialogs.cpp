#include "app/window/qt_dialogs.h"

#include <QComboBox>
#include <QDir>
#include <QFileDialog>
#include <QInputDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <memory>

#include "app/rig/band_choice_dialog.h"
#include "app/window/dialogs.h"
#include "app/stationlog/campaign_dialog.h"
#include "app/stationlog/station_details_dialog.h"
#include "app/stationlog/log_span_dialog.h"
#include "app/window/qt_text.h"
#include "app/window/screen_fit.h"
#include "app/rig/rig_settings_dialog.h"
#include "app/settings/settings_dialog.h"

namespace fw {

namespace {

// Qt's own dialog replaces the extension of the name when a filter is chosen ("*.*" makes
// "x.bmp" into "x.*"). A filter only filters here: the name stays as proposed or typed.
void KeepNameAcrossFilters(QFileDialog& dialog) {
    auto* nameEdit = dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
    if (!nameEdit) return;  // a platform dialog, which leaves names alone
    auto name = std::make_shared<QString>(nameEdit->text());
    QObject::connect(nameEdit, &QLineEdit::textEdited, &dialog,
                     [name](const QString& text) { *name = text; });
    const auto restore = [nameEdit, name] { nameEdit->setText(*name); };
    // Queued, so that it runs after the dialog's own handling of the filter.
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, restore, Qt::QueuedConnection);
    if (auto* types = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo")))
        QObject::connect(types, &QComboBox::activated, &dialog, restore, Qt::QueuedConnection);
}

std::optional<QString> RunFileDialog(QWidget* parent, const FileDialogRequest& request,
                                     QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title, request.initialDir);
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    dialog.setNameFilters(request.filters);
    if (request.selectedFilter >= 0 && request.selectedFilter < request.filters.size())
        dialog.selectNameFilter(request.filters.at(request.selectedFilter));
    dialog.setDefaultSuffix(request.defaultSuffix);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
    KeepNameAcrossFilters(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return std::nullopt;
    return QDir::toNativeSeparators(dialog.selectedFiles().constFirst());
}

}  // namespace

QString MessageTitle(MessageKind kind) {
    switch (kind) {
        case MessageKind::Information:
            return InformationTitle;
        case MessageKind::Warning:
            return WarningTitle;
        case MessageKind::Error:
            break;
    }
    return ErrorTitle;
}

void QtDialogs::show(const Message& message) {
    const QMessageBox::Icon icon = message.kind == MessageKind::Information
                                       ? QMessageBox::Information
                                   : message.kind == MessageKind::Warning ? QMessageBox::Warning
                                                                          : QMessageBox::Critical;
    QMessageBox box(icon, MessageTitle(message.kind), ToQString(message.text), QMessageBox::Ok,
                    parent_);
    box.exec();
}

std::optional<QString> QtDialogs::inputText(const QString& caption, const QString& prompt,
                                            const QString& initialText) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(initialText);
    dialog.setOkButtonText(QStringLiteral("&OK"));
    dialog.setCancelButtonText(QStringLiteral("&Cancel"));
    KeepTitleWhole(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.textValue();
}

std::optional<QString> QtDialogs::openFileName(const FileDialogRequest& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptOpen);
}

std::optional<QString> QtDialogs::saveFileName(const FileDialogRequest& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptSave);
}

std::optional<AppSettings> QtDialogs::editSettings(const AppSettings& current) {
    SettingsDialog dialog(current, parent_);
    FitIntoScreen(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return dialog.result();
}

std::optional<ReceiverSettings> QtDialogs::editRigSettings(const ReceiverSettings& current) {
    RigSettingsDialog dialog(current, parent_);
    FitIntoScreen(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    QString error;
    return dialog.result(error);
}

std::optional<QStringList> QtDialogs::chooseBands(const QStringList& bands,
                                                  const QStringList& checked) {
    BandChoiceDialog dialog(bands, checked, parent_);
    FitIntoScreen(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.chosen().isEmpty()) return std::nullopt;
    return dialog.chosen();
}

std::optional<int> QtDialogs::chooseItem(const QString& caption, const QString& prompt,
                                         const QStringList& items, int current) {
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setComboBoxItems(items);
    dialog.setComboBoxEditable(false);
    if (current >= 0 && current < items.size()) dialog.setTextValue(items.at(current));
    dialog.setOkButtonText(QStringLiteral("&OK"));
    dialog.setCancelButtonText(QStringLiteral("&Cancel"));
    KeepTitleWhole(dialog);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return static_cast<int>(items.indexOf(dialog.textValue()));
}

bool QtDialogs::confirm(const QString& caption, const QString& question) {
    return QMessageBox::question(parent_, caption, question, QMessageBox::Yes | QMessageBox::No,
                                 QMessageBox::No) == QMessageBox::Yes;
}

std::optional<LogSpan> QtDialogs::chooseLogSpan(const QString& caption, const LogSpan& proposed) {
    return RunLogSpanDialog(parent_, caption, proposed);
}

std::optional<CampaignRequest> QtDialogs::chooseCampaign(const LogSpan& whole) {
    return RunCampaignDialog(parent_, whole);
}

std::optional<StationDetails> QtDialogs::editStationDetails(const StationDetails& current) {
    return RunStationDetailsDialog(parent_, current);
}

}  // namespace fw
