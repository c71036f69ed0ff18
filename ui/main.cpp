// The program's entry: the toolkit, the main window and its event loop. An error that escapes an
// event handler is shown in a message box and the loop goes on. The program reads no command-line
// arguments.
#include "ui/Localization.h"
#include "ui/TFormMain.h"
#include "ui/web/WebEngineInfoBrowser.h"
#include "widgets/MessageBoxes.h"

#include <QApplication>

#include <exception>
#include <utility>

using namespace Qt::StringLiterals;

namespace {

class OrteliaApplication final : public QApplication {
public:
    using QApplication::QApplication;

    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            messageboxes::show(activeWindow(), applicationName(), QString::fromLocal8Bit(e.what()), QMessageBox::Ok,
                               QMessageBox::Critical);
        } catch (...) {
            messageboxes::show(activeWindow(), applicationName(), u"Error inesperado"_s, QMessageBox::Ok,
                               QMessageBox::Critical);
        }
        return false;
    }
};

} // namespace

int main(int argc, char* argv[])
{
    // The browser engine of the information pages shares the application's GL context.
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    OrteliaApplication app(argc, argv);
    localization::prepare(app);
    // The window is our own; closing it ends the program even while the tray icon is shown.
    QApplication::setQuitOnLastWindowClosed(true);
    StartupEnvironment environment = StartupEnvironment::system();
    environment.browser = makeWebEngineInfoBrowser;
    TFormMain window(std::move(environment));
    if (window.FormCreate() != TFormMain::Started::Ready)
        return 0;
    return QApplication::exec();
}
