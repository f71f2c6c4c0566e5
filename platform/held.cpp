#include "platform/held.h"

#include <QPointer>
#include <QTimer>
#include <vector>

namespace platform {

namespace {
int g_moments = 0;
struct Waiting {
    QPointer<QObject> owner;
    std::function<void()> run;
};
std::vector<Waiting> g_waiting;
}  // namespace

HeldMoment::HeldMoment() { ++g_moments; }

HeldMoment::~HeldMoment() {
    if (--g_moments > 0) return;
    for (Waiting& waiting : std::exchange(g_waiting, {})) {
        if (waiting.owner) QTimer::singleShot(0, waiting.owner, std::move(waiting.run));
    }
}

bool HeldMoment::now() { return g_moments > 0; }

void HeldMoment::whenOver(QObject* owner, std::function<void()> callback) {
    g_waiting.push_back({owner, std::move(callback)});
}

}  // namespace platform
