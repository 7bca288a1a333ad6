#include <QApplication>

#include "app/application.h"
#include "ui/qt_dialogs.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    ui::QtDialogs dialogs;
    QString placesError;
    const shell::ProgramPlaces places =
        shell::ProgramPlaces::forProgramIn(QCoreApplication::applicationDirPath(), &placesError);
    shell::SystemClock clock;
    engine::SeededRandomSource random;
    app::Application quendrolt(dialogs, clock, random);
    dialogs.setParent(&quendrolt.window());
    quendrolt.state().places = places;
    if (!placesError.isEmpty())
        dialogs.message(QStringLiteral("Problem!"), placesError);
    quendrolt.start();
    if (quendrolt.state().quitRequested)
        return 0;
    return app.exec();
}
