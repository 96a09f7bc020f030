// The help router: answers the application's help requests by showing the help file.
#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>

namespace qv {

class HelpWindow;

// Help requests of the application, with the numbers the older help service used.
namespace HelpRequest {
inline constexpr unsigned Context = 1;      // show a topic by its context number
inline constexpr unsigned Quit = 2;         // the program ends
inline constexpr unsigned Contents = 3;     // show the contents
inline constexpr unsigned ContextPopup = 8; // a topic by context number, as a pop-up
inline constexpr unsigned Key = 257;        // look up a keyword in the index
inline constexpr unsigned Command = 258;    // run a help command (a jump to a topic)
} // namespace HelpRequest

// Commands of the HTML Help service, with their numbers.
namespace HtmlHelpCommand {
inline constexpr unsigned DisplayTopic = 0; // HH_DISPLAY_TOPIC
inline constexpr unsigned DisplayIndex = 2; // HH_DISPLAY_INDEX
inline constexpr unsigned HelpContext = 15; // HH_HELP_CONTEXT
inline constexpr unsigned CloseAll = 18;    // HH_CLOSE_ALL
} // namespace HtmlHelpCommand

// One call of the HTML Help service: the command, the help file it concerns (empty for
// CloseAll) and its data word.
struct HtmlHelpCall {
    unsigned Command = HtmlHelpCommand::DisplayTopic;
    QString File;
    quintptr Data = 0;
    bool operator==(const HtmlHelpCall&) const = default;
};

// Takes every help request of the application and answers it through the HTML Help service,
// which here is the program's own help window (or, for tests, any function given to the
// constructor). Every request counts as handled. The help file is the application's: a bare
// "qrvne.chm" at start-up, made absolute by OnlineHelp.
class TUseHTMLHelp {
public:
    // Carries out one call; returns false with a message in *error when it cannot.
    using Service = std::function<bool(const HtmlHelpCall& call, QString* error)>;

    static constexpr const char* DefaultHelpFile = "qrvne.chm";
    static constexpr const char* HelpJumpTopic = "TApplication_HelpJump";

    // Answers through a help window of its own, created on the first request.
    TUseHTMLHelp();
    explicit TUseHTMLHelp(Service service);
    ~TUseHTMLHelp();
    TUseHTMLHelp(const TUseHTMLHelp&) = delete;
    TUseHTMLHelp& operator=(const TUseHTMLHelp&) = delete;

    void SetHelpFile(const QString& file) { m_helpFile = file; }
    QString HelpFile() const { return m_helpFile; }

    // The routing table: which HTML Help call answers a request.
    static HtmlHelpCall Route(unsigned request, quintptr data, const QString& helpFile);

    // Answers one request. Returns false, with the service's message in *error, when the
    // help could not be shown (a missing help file, for example); the request is handled
    // either way.
    bool Help(unsigned request, quintptr data, QString* error = nullptr);
    // The application's jump to a named topic: a contents request, then a command request
    // that carries the jump (both end at the help file's default topic).
    bool HelpJump(const QString& topic, QString* error = nullptr);
    // The "OnLine Help" menu item: help file := programDir + "qrvne.chm", then the jump to
    // "TApplication_HelpJump". programDir ends with a path separator or is empty.
    bool OnlineHelp(const QString& programDir, QString* error = nullptr);

    // The help window of the default service (nullptr until the first request, and always
    // with a service of the caller's).
    HelpWindow* Window() const { return m_window.get(); }

private:
    bool ShowInWindow(const HtmlHelpCall& call, QString* error);

    Service m_service;
    QString m_helpFile = QString::fromLatin1(DefaultHelpFile);
    std::unique_ptr<HelpWindow> m_window;
};

// The name the rest of the program knows the router by.
using HelpRouter = TUseHTMLHelp;

} // namespace qv
