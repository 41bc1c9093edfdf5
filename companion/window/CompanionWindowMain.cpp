#include "CompanionWindowMain.h"

#include "CompanionStartup.h"
#include "DialogPresenter.h"
#include "FormatSettings.h"
#include "HelpService.h"
#include "RegistryLocation.h"
#include "SingleInstance.h"
#include "SqliteRegistryStore.h"
#include "TfrmMain.h"
#include "TollwatchVersion.h"

#include <QApplication>
#include <QMessageBox>

#include <memory>

namespace {

const QString kTitle = QStringLiteral("Tollwatch Companion");

void bringToFront(QWidget& window) {
    if (window.isMinimized())
        window.showNormal();
    window.show();
    window.raise();
    window.activateWindow();
}

} // namespace

int runCompanionWindow(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    if (CompanionStartup::endsAtOnce(arguments))
        return 0;
    QApplication app(argc, argv);
    // The name only: a display name would be appended to every window's
    // caption, and the Options dialog is captioned "Options" alone.
    QApplication::setApplicationName(kTitle);
    QApplication::setApplicationVersion(QStringLiteral(TOLLWATCH_VERSION));
    const QString storeFile = RegistryLocation::resolve(arguments);
    std::unique_ptr<SqliteRegistryStore> store;
    try {
        store = std::make_unique<SqliteRegistryStore>(storeFile);
    } catch (const RegistryError& e) {
        QMessageBox::critical(nullptr, kTitle, QString::fromLocal8Bit(e.what()));
        return 1;
    }
    SingleInstance instance(storeFile);
    if (!instance.listen())
        return 0; // the running companion shows itself instead
    SystemClock clock;
    QtDialogPresenter dialogs;
    BrowserHelp help;
    LpPrinter printer;
    const CompanionServices services{*store,
                                     clock,
                                     FormatSettings::system(),
                                     QLocale::system(),
                                     dialogs,
                                     help,
                                     printer,
                                     QCoreApplication::applicationFilePath()};
    TfrmMain window(services);
    QObject::connect(&instance, &SingleInstance::activationRequested, &window,
                     [&window] { bringToFront(window); });
    window.FormCreate();
    return app.exec();
}
