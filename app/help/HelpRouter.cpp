// The help router: the routing table of help requests and the help window that answers them.
#include "app/help/HelpRouter.h"

#include "app/help/HelpWindow.h"

namespace qv {

TUseHTMLHelp::TUseHTMLHelp()
    : m_service(
          [this](const HtmlHelpCall& call, QString* error) { return ShowInWindow(call, error); }) {}

TUseHTMLHelp::TUseHTMLHelp(Service service) : m_service(std::move(service)) {}

TUseHTMLHelp::~TUseHTMLHelp() = default;

HtmlHelpCall TUseHTMLHelp::Route(unsigned request, quintptr data, const QString& helpFile) {
    switch (request) {
    case HelpRequest::Context:
    case HelpRequest::ContextPopup:
        return {HtmlHelpCommand::HelpContext, helpFile, data};
    case HelpRequest::Key:
        return {HtmlHelpCommand::DisplayIndex, helpFile, data};
    case HelpRequest::Quit:
        return {HtmlHelpCommand::CloseAll, QString(), 0};
    default:
        return {HtmlHelpCommand::DisplayTopic, helpFile, 0};
    }
}

bool TUseHTMLHelp::Help(unsigned request, quintptr data, QString* error) {
    const HtmlHelpCall call = Route(request, data, m_helpFile);
    return m_service ? m_service(call, error) : true;
}

bool TUseHTMLHelp::HelpJump(const QString& topic, QString* error) {
    // The jump's topic name travels in the command request's data; like every command
    // request it ends at the default topic, so only its presence matters here.
    const QByteArray jump = "JumpID(\"\",\"" + topic.toLatin1() + "\")";
    if (!Help(HelpRequest::Contents, 0, error)) return false;
    return Help(HelpRequest::Command, reinterpret_cast<quintptr>(jump.constData()), error);
}

bool TUseHTMLHelp::OnlineHelp(const QString& programDir, QString* error) {
    SetHelpFile(programDir + QString::fromLatin1(DefaultHelpFile));
    return HelpJump(QString::fromLatin1(HelpJumpTopic), error);
}

bool TUseHTMLHelp::ShowInWindow(const HtmlHelpCall& call, QString* error) {
    if (call.Command == HtmlHelpCommand::CloseAll) {
        if (m_window) m_window->hide();
        return true;
    }
    if (!m_window) m_window = std::make_unique<HelpWindow>();
    if (!m_window->OpenHelpFile(call.File, error)) return false;
    // The help project maps no context numbers and has no index of its own to open, so
    // every request shows the default topic, where the contents lead on.
    if (!m_window->ShowTopic()) {
        if (error) *error = QStringLiteral("The help file has no pages: %1").arg(call.File);
        return false;
    }
    return true;
}

} // namespace qv
