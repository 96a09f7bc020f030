// The application's error box and the text it shows for an exception.
#include "app/ErrorBox.h"

#include "app/Dialogs.h"

#include <QApplication>
#include <QWidget>

#include <stdexcept>

namespace qv {

QString ErrorBoxText(const QString& message) {
    QString text = message.trimmed();
    if (!text.endsWith(QLatin1Char('.'))) text += QLatin1Char('.');
    return text;
}

void ShowErrorBox(const QString& message) {
    QWidget* parent = QApplication::activeModalWidget();
    if (!parent) parent = QApplication::activeWindow();
    Dialogs::Current().Error(parent, QString::fromLatin1(kApplicationTitle), ErrorBoxText(message));
}

void ShowCurrentException() {
    try {
        throw;
    } catch (const std::exception& e) {
        ShowErrorBox(QString::fromUtf8(e.what()));
    } catch (...) {
        ShowErrorBox(QStringLiteral("Unknown error"));
    }
}

} // namespace qv
