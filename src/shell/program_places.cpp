#include "shell/program_places.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include "storage/number_files.h"

namespace shell {

ProgramPlaces ProgramPlaces::forProgramIn(const QString& applicationDirectory, QString* errorText)
{
    const QDir programs(applicationDirectory);
    if (QFileInfo::exists(programs.filePath(QLatin1String(storage::kTesterProgram))))
        return {};
    const QString libexec = QDir::cleanPath(programs.filePath(QStringLiteral("../libexec/quendrolt"))) + '/';
    if (!QFileInfo::exists(libexec + QLatin1String(storage::kTesterProgram)))
        return {};

    ProgramPlaces places;
    places.testerDirectory = libexec;
    places.helpDirectory = QDir::cleanPath(programs.filePath(QStringLiteral("../share/quendrolt"))) + '/';
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/Quendrolt";
    if (!QDir().mkpath(data) || !QDir::setCurrent(data)) {
        if (errorText)
            *errorText = QStringLiteral("The data folder could not be made: ") + data;
    }
    return places;
}

}  // namespace shell
