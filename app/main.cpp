// The program entry: the application, the main form and the macro input form, then the message
// loop. No command-line argument is read; the program's own path locates its INI file.
#include "app/About.h"
#include "app/MainProg.h"
#include "macro/MacroInput.h"
#include "platform/vcl/Forms.h"

#include <QApplication>
#include <clocale>
#include <exception>
#include <stdexcept>

namespace {

// An exception thrown by a handler is shown in the exception box and the message loop goes on,
// as it does for every window of the program.
class TPlumoApplication : public QApplication {
public:
    using QApplication::QApplication;
    bool notify(QObject* receiver, QEvent* event) override
    {
        try {
            return QApplication::notify(receiver, event);
        } catch (const std::exception& e) {
            Application->ShowException(e);
        } catch (...) {
            Application->ShowException(std::runtime_error(""));
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    TPlumoApplication app(argc, argv);
    // Qt switches the C library to the user's locale; the macro programs and the printf-style
    // answers are written with a full stop whatever the locale.
    std::setlocale(LC_NUMERIC, "C");
    try {
        try {
            // The first form made is the main form; the About box, which shows the main form's
            // version, and the macro input form follow it.
            frmMainProg = new TfrmMainProg();
            AboutBox = new TAboutBox(frmMainProg);
            frm_MacroInput = new Tfrm_MacroInput(frmMainProg);
            frmMainProg->show();
            QApplication::exec();
            delete frmMainProg;  // the About box and the input form go with it
            frmMainProg = nullptr;
            AboutBox = nullptr;
            frm_MacroInput = nullptr;
        } catch (const std::exception&) {
            throw;
        } catch (...) {
            throw std::runtime_error("");
        }
    } catch (const std::exception& e) {
        Application->ShowException(e);
    }
    return 0;
}
