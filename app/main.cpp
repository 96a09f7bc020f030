// The entry routine of the trainer: splash, application set-up, the five windows in their
// order, the wait for the splash, then the message loop.
#include "app/ErrorBox.h"
#include "app/TApplication.h"
#include "app/TForm1.h"
#include "app/TrainerSettings.h"
#include "script/ui/TForm2.h"
#include "windows/TForm3.h"
#include "windows/TForm4.h"
#include "windows/TForm5.h"
#include "windows/TSplashScreen.h"

#include <memory>

namespace {

int Run() {
    // The splash, shown and painted at once. It is freed on every way out of here.
    auto splash = std::make_unique<qv::TSplashScreen>();
    splash->ShowNow();

    // The windows, in this order; the main window's creation reads a problem file
    // named on the command line while the splash is up.
    qv::TrainerSettings settings;
    qv::Globales globals;
    qv::TForm1 form1(globals, QCoreApplication::arguments());
    qv::TForm2 form2;
    qv::TForm3 form3(form1.ChessBrd1);
    qv::TForm4 form4;
    qv::TForm5 form5(globals);
    form1.AttachWindows(&form2, &form3, &form4, &form5);
    // What the last run left: the board's look, the options, the window, the last problem.
    form1.UseSettings(&settings);

    // Wait, without burning the processor, until the splash may close: at least six
    // seconds after its creation.
    splash->WaitUntilMayClose();

    splash->close();
    splash.reset();

    form1.show();
    return QApplication::exec();
}

} // namespace

int main(int argc, char** argv) {
    qv::TApplication app(argc, argv);
    try {
        return Run();
    } catch (...) {
        // A failure while starting up: the splash is freed already; say what happened.
        qv::ShowCurrentException();
        return 1;
    }
}
