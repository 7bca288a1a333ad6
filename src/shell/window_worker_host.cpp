#include "shell/window_worker_host.h"

#include <QCoreApplication>

#include "ui/control_ids.h"

namespace shell {

void WindowWorkerHost::processPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool WindowWorkerHost::stopTicked() { return controls_.checked(ui::ControlId::Stop); }

void WindowWorkerHost::showElapsed(int fieldId, const std::string& text)
{
    controls_.setText(fieldId, QString::fromStdString(text));
}

void WindowWorkerHost::countRun()
{
    ++state_.runCounter;
    controls_.setText(ui::ControlId::Qty, QString::number(state_.runCounter));
}

}  // namespace shell
