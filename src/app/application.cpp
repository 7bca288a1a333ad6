#include "app/application.h"

#include <QDir>

#include "engine/decimal_text.h"
#include "engine/divisor_products.h"
#include "engine/prime_library.h"
#include "storage/divisor_file.h"
#include "ui/control_ids.h"
#include "shell/control_lock.h"
#include "shell/scheduling.h"
#include "shell/version.h"
#include "app/command_registry.h"

namespace app {

Application::Application(ui::Dialogs& dialogs, shell::Clock& clock, engine::RandomSource& random)
    : worker_(state_, window_.controls(), clock),
      context_{state_, window_.controls(), window_.results(), dialogs, clock, random, worker_, &window_},
      dispatcher_(context_)
{
    registerAllCommands(dispatcher_);
    QObject::connect(&window_, &ui::MainWindow::controlEvent, &window_, [this](int id) { dispatcher_.dispatch(id); });
    window_.setCloseHandler([this] { return closeRequested(); });
}

void Application::start()
{
    dispatcher_.setBusy(true);
    shell::raiseScheduling();
    window_.setWindowTitle(QStringLiteral("Quendrolt - version ") + QLatin1String(shell::kVersionText));
    engine::primeLibraryInit();
    applyInitialStates();
    window_.show();
    window_.centreOnPrimaryScreen();
    loadDivisorProducts();
    writeStartupNotes();
    state_.memory.set(0UL);
    dispatcher_.setBusy(false);
}

void Application::applyInitialStates()
{
    ui::Controls& c = window_.controls();
    namespace id = ui::ControlId;
    for (int box = id::FinalDigit1; box <= id::FinalDigit9; ++box)
        c.setChecked(box, true);
    for (int box = id::StartDigit1; box < id::StartDigit0; ++box)
        c.setChecked(box, true);
    for (int box : {ui::ControlId::StartDigit0, ui::ControlId::AllowReturm, ui::ControlId::OnSegment, ui::ControlId::Phi, ui::ControlId::Stop, ui::ControlId::AutoUndo, ui::ControlId::Mersenne, ui::ControlId::LoadPrevious, ui::ControlId::Iconic})
        c.setChecked(box, false);
    c.setChecked(ui::ControlId::OperandOption, true);
    c.setChecked(ui::ControlId::MemoryOption, false);
    c.setText(ui::ControlId::Operand, QStringLiteral("2"));
    c.setVisible(ui::ControlId::Operand, true);
    c.setText(ui::ControlId::MemoryDisplay, QStringLiteral("0"));
    c.setVisible(ui::ControlId::MemoryDisplay, false);
    c.setText(ui::ControlId::TotalDigits, QStringLiteral("1111"));
    c.setText(ui::ControlId::DigitCountDisplay, QStringLiteral("0"));
    c.setText(ui::ControlId::DivisorLimitField, QStringLiteral("300000"));
    for (int counter : {ui::ControlId::Tot, ui::ControlId::Div1, ui::ControlId::Qty, ui::ControlId::StatusLine, ui::ControlId::Div2, ui::ControlId::Div3})
        c.setText(counter, QStringLiteral("0"));
    for (int timeField : {ui::ControlId::NextPrevElapsed, ui::ControlId::PrpElapsed, ui::ControlId::IsPElapsed})
        c.setText(timeField, QString());
    c.setText(ui::ControlId::DivideByTen, QStringLiteral("÷ 10"));
    shell::setControlLock(context_, false);
}

void Application::loadDivisorProducts()
{
    const std::string path = storage::kDivisorFileName;
    bool usable = false;
    engine::runThreaded(worker_, [&] {
        std::optional<engine::DivisorProducts> read = storage::readDivisorFile(path);
        usable = read && engine::hasExpectedShape(*read);
        if (usable)
            state_.divisors = std::move(*read);
    });
    if (usable)
        return;

    ui::ResultsList& results = window_.results();
    results.add(QStringLiteral("Creating base.div: the products of the first 850,000 primes used by the first check..."));
    results.scrollToEnd();
    bool written = false;
    engine::runThreaded(worker_, [&] {
        engine::buildDivisorProducts(state_.divisors);
        written = storage::writeDivisorFile(path, engine::divisorTexts(state_.divisors));
    });
    results.clear();
    if (!written)
        divisorFileWarning_ = QStringLiteral("base.div could not be written in ") + QDir::currentPath() +
                              QStringLiteral(": the divisor products were built in memory and trial division works "
                                             "as usual; they will be built again at the next start.");
}

void Application::writeStartupNotes()
{
    ui::ResultsList& results = window_.results();
    const char* notes[] = {
        "Attention! These early versions of my system are still receiving the more complex generation modules I have.",
        "I'm working on it, please be patient. I decided to make the program available to receive feedback on its "
        "behavior.",
        "This is Not the Holy Grail of prime number generation, but I hope it will be someday!",
        "",
        "The last generated number will always be saved in the 'last_number.txt' file in the program's directory, "
        "remember",
        "to save your created numbers using the 'Save NUMBER' button.",
        "",
        "When loading numbers with millions of digits, the screen may freeze for a while, but this will disappear "
        "later.",
        "",
        "Don't start your tests and analyses with large numbers; run tests and familiarize yourself with the program's "
        "methodology",
        "before embarking on major projects.",
        "",
        "Check the program's link regularly to see if I've released a new version with bug fixes.",
        "",
        "Parts of the program are still being moved over from my older routines and libraries to the new ones;",
        "this work will be finished with time, version after version.",
        "",
    };
    results.addSeparator();
    results.add(QString(55, QLatin1Char(' ')) + QStringLiteral("N O T E S"));
    results.addSeparator();
    for (const char* line : notes)
        results.add(QString::fromUtf8(line));
    results.addSeparator();
    if (!divisorFileWarning_.isEmpty())
        results.add(divisorFileWarning_);
}

bool Application::closeRequested()
{
    if (dispatcher_.busy())
        return false;
    state_.quitRequested = true;
    return true;
}

}  // namespace app
