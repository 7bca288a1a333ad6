#include "shell/window_worker_host.h"

#include <QCoreApplication>

#include "shell/control_ids.h"

namespace shell {

void WindowWorkerHost::processPendingEvents() { QCoreApplication::processEvents(QEventLoop::AllEvents); }

bool WindowWorkerHost::stopTicked() { return controls_.checked(id::Stop); }

void WindowWorkerHost::showElapsed(int fieldId, const std::string& text)
{
    controls_.setText(fieldId, QString::fromStdString(text));
}

void WindowWorkerHost::countRun()
{
    ++state_.runCounter;
    controls_.setText(id::Qty, QString::number(state_.runCounter));
}

}  // namespace shell
