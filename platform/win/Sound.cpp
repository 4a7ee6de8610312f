#include "platform/win/Sound.h"

#include <QApplication>
#include <chrono>
#include <thread>

bool Beep(int frequency, int duration)
{
    if (frequency < 37 || frequency > 32767 || duration < 0)
        return false;
    if (qobject_cast<QApplication*>(QCoreApplication::instance()))
        QApplication::beep();
    Sleep(static_cast<unsigned>(duration));
    return true;
}

void Sleep(unsigned milliseconds)
{
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}
