// Rendolo: program entry. Composes the services and creates every window once.
#include "app/desktopintegration.h"
#include "app/donation.h"
#include "app/languages.h"
#include "app/singleinstance.h"
#include "app/ui/aboutwindows.h"
#include "app/ui/focushighlight.h"
#include "app/ui/shellcommands.h"
#include "app/ui/splash.h"
#include "app/ui/tfmain.h"
#include "app/ui/tfsettings.h"
#include "app/ui/tftranslate.h"
#include "app/ui/windowstate.h"
#include "base/commandenv.h"
#include "base/nativepath.h"
#include "base/programfolder.h"
#include "base/settings.h"
#include "base/texts.h"
#include "base/translator.h"
#include "base/ui/dialogprompt.h"
#include "base/ui/tfmsg.h"
#include "base/ui/windowtranslator.h"
#include "catalog/catalogue.h"
#include "catalog/cataloguecommands.h"
#include "catalog/ui/catalogcommands.h"
#include "fileops/fileoperations.h"
#include "lists/songtags.h"
#include "lists/ui/listcommands.h"
#include "lists/ui/listeditcommands.h"
#include "lists/ui/tfcustom.h"
#include "lists/ui/tffilter.h"
#include "lists/ui/tffind.h"
#include "lists/ui/tfframe.h"
#include "tools/ui/tffirsttime.h"
#include "tools/ui/tfstatistics.h"
#include "tools/ui/toolcommands.h"

#include <QApplication>
#include <QDate>
#include <QDir>

#include <csignal>

int main(int argc, char** argv) {
    // A write beyond a file-size limit then fails with EFBIG, and the save that made it
    // puts the file back, instead of the process dying half-way through a tag.
    std::signal(SIGXFSZ, SIG_IGN);
    QApplication app(argc, argv);
    Q_INIT_RESOURCE(rendolo); // the resources live in a static library
    QApplication::setApplicationName("Rendolo");
    QApplication::setApplicationDisplayName("Rendolo");
    QApplication::setWindowIcon(QIcon(":/icons/rendolo.png"));
    // The tray keeps the program running while its window is hidden.
    QApplication::setQuitOnLastWindowClosed(false);

    SingleInstance instance;
    if (!instance.claim())
        return 0; // the running instance has been brought to the front

    const QString programFolder = resolveProgramFolder(QCoreApplication::applicationDirPath());
    QDir().mkpath(programFolder + "language");
    initLanguageResources();
    installShippedLanguages(programFolder);
    Settings settings(programFolder);
    Translator messages(programFolder + "language/", settings.text("Language"));
    setMessageTranslator(&messages);

    TFSplash splash;
    WindowTranslator splashTexts(&splash, messages, false); // the splash writes no template
    splashTexts.setLanguage(messages.language());
    splashTexts.loadMessages();
    splash.show();
    splash.showStep("SplashFormMain", "Loading Main form");
    splash.showStep("MainDatabase", "Creating Databases");
    const QStringList storeProblems = createMissingStores(programFolder);
    splash.showStep("MainLAnguages", "Loading languages");
    splash.showStep("MainSettings", "Loading main settings");
    const bool donationDue = updateDonationReminder(settings.file(), QDate::currentDate());
    settings.file().save(); // a folder that cannot be written only loses the bookkeeping
    const DesktopIntegration desktop =
        DesktopIntegration::forCurrentUser(QApplication::applicationFilePath());
    if (settings.flag("CBStartMenu"))
        desktop.installMenuEntry();
    splash.showStep("MainSettings", "Setting registry");
    if (settings.flag("CBRegExt"))
        desktop.registerFileTypes();

    splash.showStep("MainFrame", "Creating Frames");
    // The services every command works with, built before any window.
    YesNo yesNo;
    DialogPrompt prompt;
    TFMsg progress(nullptr, &settings);
    FileOperations files;
    SongTags tags(settings, yesNo, files);
    CommandEnv env{programFolder, settings, prompt, progress, yesNo, tags, files};
    Catalogue catalogue(programFolder);
    env.catalogue = &catalogue;
    TFMain mainWindow(env);
    prompt.setParent(&mainWindow);
    progress.setMainWindow(&mainWindow);
    // The main window and its panes change language at once with the settings window.
    QObject::connect(WindowTranslator::attach(&mainWindow, messages, true),
                     &WindowTranslator::retranslated, &mainWindow, &TFMain::retranslate);
    for (TFFrame* pane : {mainWindow.frame1(), mainWindow.frame2()})
        QObject::connect(WindowTranslator::attach(pane, messages, true),
                         &WindowTranslator::retranslated, pane, &TFFrame::retranslate);
    splash.showStep("MainSettingConstants", "Setting global variables");
    yesNo.lookUp();
    FocusHighlight focusHighlight;

    splash.showStep("SplashFormMsgForm", "Loading Messages");
    QObject::connect(WindowTranslator::attach(&progress, messages), &WindowTranslator::retranslated,
                     &progress, &TFMsg::retranslate);
    splash.showStep("SplashFormAbout", "Loading About");
    TFAbout about(&mainWindow);
    WindowTranslator::attach(&about, messages);
    splash.showStep("SplashFormSettings", "Loading Settings");
    TFSettings settingsWindow(settings, prompt, messages, &mainWindow);
    splash.showStep("SplashFormCustom", "Loading Custom form");
    TFCustom custom(prompt, messages, &mainWindow);
    settingsWindow.setCustomStyleWindow(&custom);
    splash.showStep("SplashFormTranslate", "Loading Translate");
    TFTranslate translate(messages, settings, prompt, progress, &mainWindow);
    splash.showStep("SplashFormStatistics", "Loading Statistics");
    TFStatistics statistics(&mainWindow);
    QObject::connect(WindowTranslator::attach(&statistics, messages),
                     &WindowTranslator::retranslated, &statistics, &TFStatistics::retranslate);
    splash.showStep("SplashFormFirstTime", "Loading First Time Help");
    TFFirstTime firstTime(mainWindow.router(), prompt, &mainWindow);
    WindowTranslator::attach(&firstTime, messages);
    splash.showStep("SplashFormDonations", "Loading Donation Form");
    TFDonations donations(&mainWindow);
    WindowTranslator::attach(&donations, messages);
    TFFind find(&mainWindow);
    WindowTranslator::attach(&find, messages);
    TFFilter jumpTo(&mainWindow);
    WindowTranslator::attach(&jumpTo, messages);

    // Every subsystem registers its commands; the menus enable what arrives.
    bindListCommands(mainWindow.router(), *mainWindow.frame1(), *mainWindow.frame2());
    bindListEditCommands(mainWindow.router(), *mainWindow.frame1(), *mainWindow.frame2(), find,
                         jumpTo);
    bindCatalogueCommands(mainWindow.router(), *mainWindow.mainMenu().menu("MDatabase"));
    bindShellCommands(mainWindow, {settingsWindow, translate, about, donations});
    bindToolCommands(mainWindow.router(), {statistics, firstTime});
    // Paths straight from argv, so names that are not UTF-8 still open.
    QStringList paths;
    for (int i = 1; i < argc; ++i)
        paths << fromNativePath(QByteArray(argv[i]));
    mainWindow.setCommandLine(paths);
    if (donationDue)
        mainWindow.showAfterStart(&donations);
    QObject::connect(&mainWindow, &TFMain::firstActivated, &mainWindow, [&] {
        for (const QString& problem : storeProblems)
            prompt.information(problem);
        catalogueAtStart(env, mainWindow.startResult() != StartResult::Db);
    });
    QObject::connect(&instance, &SingleInstance::wakeUpRequested, &mainWindow,
                     &TFMain::restoreFromTray);

    splash.showStep("SplashFormRun", "Starting application");
    // The window, its splitter and its columns as they were left at the last exit.
    WindowState windowState(settings, mainWindow);
    windowState.restore();
    QObject::connect(&app, &QApplication::aboutToQuit, [&windowState] { windowState.save(); });
    mainWindow.show();
    splash.close();
    const int rc = QApplication::exec();
    catalogueAtExit(env);
    // The progress window lives on the stack below the main window: the main window must
    // not delete it as its child.
    progress.setParent(nullptr);
    focusHighlight.setEnabled(false);
    setMessageTranslator(nullptr);
    return rc;
}
