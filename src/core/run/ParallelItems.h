#pragma once

#include "core/host/SpreadsheetHostFactory.h"
#include "core/run/OrderedItems.h"
#include "core/run/ResponsiveHostFactory.h"
#include "core/run/WorkerRunUi.h"

#include <QScopeGuard>
#include <algorithm>
#include <exception>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

namespace brelix::run {

// Items of a run (files to search, to print, pairs to compare) worked on by several offices
// at once, each worker on a thread of its own with an office of its own, and delivered on the
// run's thread in item order, with what each item showed played on the run's screen before it:
// the run sees what one office would have given it. A worker whose office dies starts another
// for its next item through its factory; a cancel stops every worker at its next cancel point
// and abandons a call that does not end within ResponsiveHost's grace time.
template <typename Result> class ParallelItems {
public:
    // The work of one item, on the worker's thread.
    using Work = std::function<Result(int item)>;
    // Makes the work of one worker: its offices come from `office` (each call waits on the
    // worker's screen), `ui` is its screen. What the work keeps is let go on its thread.
    using WorkerMaker = std::function<Work(host::SpreadsheetHostFactory& office, WorkerRunUi& ui)>;
    // Takes an item's result on the run's thread; false stops the run there.
    using Delivery = std::function<bool(int item, Result& result)>;

    // `factory` starts plain offices; `ui` is the run's screen.
    ParallelItems(host::SpreadsheetHostFactory& factory, RunUi& ui) : m_factory(factory), m_ui(ui)
    {
    }

    // Works on `count` items with `workers` offices; true when every item was delivered, false
    // when a delivery stopped the run or the user cancelled it. A failure that escapes a work
    // passes through here once every worker has ended.
    bool run(int count, int workers, const WorkerMaker& makeWorker, const Delivery& deliver)
    {
        m_items = std::make_unique<OrderedItems>(m_ui, count);
        m_results.assign(static_cast<std::size_t>(count), std::nullopt);
        m_failures.assign(static_cast<std::size_t>(count), nullptr);
        std::vector<std::thread> threads = startWorkers(std::min(workers, count), makeWorker);
        bool delivered = true;
        std::exception_ptr failure;
        bool stopping = true; // a delivery that throws stops the rest too
        // The workers are stopped and waited for before the run goes on, however it goes on.
        const auto workersEnded = qScopeGuard([&] {
            m_items->stop(stopping);
            for (std::thread& thread : threads)
                thread.join();
            m_items->end();
        });
        for (int item = 0; item < count && delivered && !failure; ++item) {
            const auto i = static_cast<std::size_t>(item);
            delivered = m_items->playUntilFinished(item);
            if (delivered && m_failures[i])
                failure = m_failures[i];
            else if (delivered && m_results[i])
                delivered = deliver(item, *m_results[i]);
        }
        stopping = !delivered || failure;
        if (failure)
            std::rethrow_exception(failure);
        return delivered;
    }

    // The password the user typed last in the run, if any.
    std::optional<QString> typedPassword() const
    {
        return m_items ? m_items->typedPassword() : std::nullopt;
    }

private:
    // Each worker's first item is its own from the start: every office starts at once. They
    // are all taken before any worker runs, which could otherwise take them first.
    std::vector<std::thread> startWorkers(int workers, const WorkerMaker& makeWorker)
    {
        std::vector<int> firsts;
        for (int w = 0; w < workers; ++w)
            firsts.push_back(*m_items->takeNext());
        std::vector<std::thread> threads;
        for (const int first : firsts) {
            m_screens.push_back(std::make_unique<WorkerRunUi>(*m_items));
            m_factories.push_back(
                std::make_unique<ResponsiveHostFactory>(m_factory, *m_screens.back()));
            threads.emplace_back([this, &makeWorker, first, &screen = *m_screens.back(),
                                  &office = *m_factories.back()] {
                const Work work = makeWorker(office, screen);
                for (std::optional<int> item = first; item; item = m_items->takeNext()) {
                    const auto i = static_cast<std::size_t>(*item);
                    screen.beginItem(*item);
                    try {
                        m_results[i].emplace(work(*item));
                    } catch (...) {
                        m_failures[i] = std::current_exception();
                    }
                    m_items->finish(*item);
                }
            });
        }
        return threads;
    }

    host::SpreadsheetHostFactory& m_factory;
    RunUi& m_ui;
    // Kept beyond the run: an office that a worker kept waits on its screen.
    std::unique_ptr<OrderedItems> m_items;
    std::vector<std::unique_ptr<WorkerRunUi>> m_screens;
    std::vector<std::unique_ptr<ResponsiveHostFactory>> m_factories;
    // Each written by the worker of its item before the item is finished, read after.
    std::vector<std::optional<Result>> m_results;
    std::vector<std::exception_ptr> m_failures;
};

} // namespace brelix::run
