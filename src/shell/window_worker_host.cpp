#include "shell/window_worker_host.h"

#include <QCoreApplication>

#include "ui/control_ids.h"

namespace shell {

void WindowWorkerHost::processPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool WindowWorkerHost::stopTicked() { return controls_.checked(ui::ControlId::Stop); }

void WindowWorkerHost::showElapsed(engine::ElapsedDisplay display, const std::string& text)
{
    int field = 0;
    switch (display) {
    case engine::ElapsedDisplay::PrimalityTest:
        field = ui::ControlId::IsPElapsed;
        break;
    case engine::ElapsedDisplay::PrimeSearch:
        field = ui::ControlId::NextPrevElapsed;
        break;
    case engine::ElapsedDisplay::TesterRun:
        field = ui::ControlId::PrpElapsed;
        break;
    case engine::ElapsedDisplay::None:
        return;
    }
    controls_.setText(field, QString::fromStdString(text));
}

void WindowWorkerHost::countRun()
{
    ++state_.runCounter;
    controls_.setText(ui::ControlId::Qty, QString::number(state_.runCounter));
}

}  // namespace shell
