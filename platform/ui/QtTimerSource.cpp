#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <map>
#include <memory>
#include <utility>
#include <vector>

#include "platform/ui/Timers.h"

namespace platform::ui {
namespace {

class QtTimerSource final : public TimerSource {
public:
    bool Start(const void* owner, UINT_PTR id, std::chrono::milliseconds interval, Callback callback) override
    {
        if (QCoreApplication::instance() == nullptr)
            return false;
        Stop(owner, id);
        auto* timer = new QTimer;
        timer->setInterval(interval);
        QObject::connect(timer, &QTimer::timeout, timer, [this, timer, callback = std::move(callback)] {
            // Ticks nest when a callback runs a modal loop.
            m_firing.push_back(timer);
            callback();
            m_firing.pop_back();
        });
        timer->start();
        m_timers.emplace(Key{owner, id}, timer);
        return true;
    }

    void Stop(const void* owner, UINT_PTR id) override
    {
        auto found = m_timers.find({owner, id});
        if (found == m_timers.end())
            return;
        QTimer* timer = found->second;
        m_timers.erase(found);
        timer->stop();
        // A timer that kills itself from its own tick is still inside its
        // signal: it goes once the tick has returned.
        if (std::find(m_firing.begin(), m_firing.end(), timer) != m_firing.end())
            timer->deleteLater();
        else
            delete timer;
    }

private:
    using Key = std::pair<const void*, UINT_PTR>;
    std::map<Key, QTimer*> m_timers;
    std::vector<QTimer*> m_firing;
};

} // namespace

TimerSource& QtTimers()
{
    static QtTimerSource source;
    return source;
}

} // namespace platform::ui
