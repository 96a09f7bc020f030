// The default progress file and its overrides.
#include "progress/store/ProgressLocation.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace qv {

std::string ProgressFilePath(const std::string& chosen) {
    if (!chosen.empty()) return chosen;
    const QString fromEnvironment = qEnvironmentVariable(ProgressFileVariable);
    if (!fromEnvironment.isEmpty()) return fromEnvironment.toStdString();
    // The trainer and qvn share one file: ask for the trainer's folder by its name.
    const QString organisation = QCoreApplication::organizationName();
    const QString application = QCoreApplication::applicationName();
    QCoreApplication::setOrganizationName(QString());
    QCoreApplication::setApplicationName(QStringLiteral("QRVNE"));
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QCoreApplication::setOrganizationName(organisation);
    QCoreApplication::setApplicationName(application);
    return QDir(folder).filePath(QStringLiteral("progress.sqlite")).toStdString();
}

} // namespace qv
