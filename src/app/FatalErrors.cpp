#include "app/FatalErrors.h"

#include "parser/EInterfaceBackend.h"
#include "platform/DMessageBox.h"
#include "resources/CADVException.h"

#include <exception>
#include <new>
#include <string>

int RunReportingFatalErrors(const std::function<int()>& run, bool allowDialog) {
    try {
        return run();
    } catch (const CADVException& error) {
        DMessageBox::ShowFatal("Exception", error.GetText(), allowDialog);
    } catch (const EInterfaceBackend& error) {
        DMessageBox::ShowFatal("InterfaceBackend Exception", error.GetText(), allowDialog);
    } catch (const std::bad_alloc&) {
        DMessageBox::ShowFatal("Exception", "Exception:\nOut of memory.", allowDialog);
    } catch (const std::exception& error) {
        // A failure from below the engine's own exceptions (the file system, a
        // thread) still ends the run with its text, never silently.
        DMessageBox::ShowFatal("Exception", std::string("Exception:\n") + error.what(), allowDialog);
    } catch (...) {
        DMessageBox::ShowFatal("Exception", "Exception:\nAn unknown error ended the game.", allowDialog);
    }
    return 1;
}
