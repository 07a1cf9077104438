#include "output/report_mail.h"

namespace fw {

std::string ReportMailSubject(std::string_view appTitle, std::string_view versionText) {
    std::string subject = "Report from ";
    subject += appTitle;
    subject += ' ';
    subject += versionText;
    return subject;
}

const std::vector<std::string>& ReportMailBody() {
    static const std::vector<std::string> body{"Noise Report from", "", "--Name--", "--Call--",
                                               "--eMail--",         "", "73"};
    return body;
}

void PrepareReportMail(MapiMailer& mailer, const ReportMailInput& input) {
    mailer.Options = ReportMailOptions;
    mailer.Clear();
    mailer.Subject = ReportMailSubject(input.appTitle, input.versionText);
    // Without a recipient the composer opens with an empty "To" for the user to fill in.
    if (!input.recipient.empty()) mailer.ToRecipient = {input.recipient};
    mailer.MessageBody = ReportMailBody();
    mailer.Attachment = {input.userDataFile};
}

}  // namespace fw
