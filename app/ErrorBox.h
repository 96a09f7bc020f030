// The application's error box: how a failure that ends a handler reaches the user.
#pragma once

#include <QString>

#include <exception>
#include <type_traits>
#include <utility>

class QWidget;

namespace qv {

// The application title that captions the error box.
inline constexpr const char* kApplicationTitle = "QRVNE";

// The message as the error box shows it: a full stop is added when it lacks one.
QString ErrorBoxText(const QString& message);

// Shows `message` in a modal error box captioned "QRVNE" (through Dialogs::Current()).
void ShowErrorBox(const QString& message);

// Shows the message of the exception that is being handled (call inside a catch block).
void ShowCurrentException();

// Wraps a handler so that an exception ending it is shown in the error box and the
// program goes on, as the application's default handler does.
template <class F> auto Guarded(F handler) {
    return [handler = std::move(handler)](auto&&... args) {
        try {
            // A handler that takes no arguments ignores those of the signal.
            if constexpr (std::is_invocable_v<const F&, decltype(args)...>)
                handler(std::forward<decltype(args)>(args)...);
            else
                handler();
        } catch (...) {
            ShowCurrentException();
        }
    };
}

} // namespace qv
