#pragma once

#include "core/host/ForwardingHost.h"
#include "core/run/OfficeReuse.h"

#include <atomic>
#include <functional>
#include <memory>

namespace brelix::run {

// An instance lent to one job by a pool. finishJob() gives it back when it is fit for another
// job (everything closed unsaved, it answers, under the memory bound, fewer jobs than the
// limit); every other end ends it, and one whose call got stuck (abandon()) never goes back.
class PooledHost : public host::ForwardingHost {
public:
    using GiveBack = std::function<void(std::unique_ptr<host::SpreadsheetHost>, int jobsDone)>;

    PooledHost(std::unique_ptr<host::SpreadsheetHost> host, int jobsDone, OfficeReuse reuse,
               GiveBack giveBack);
    ~PooledHost() override;

    void handOver() override;
    void finishJob() override;
    void abandon() override;

protected:
    void relay(const QString* book,
               const std::function<void(host::SpreadsheetHost&)>& call) override;

private:
    std::unique_ptr<host::SpreadsheetHost> m_host;
    const int m_jobsDone;
    const OfficeReuse m_reuse;
    GiveBack m_giveBack;
    std::atomic<bool> m_abandoned = false;
};

} // namespace brelix::run
