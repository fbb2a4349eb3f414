#include "server/status_sender.h"

#include <atomic>
#include <mutex>

#include "server/server_requests.h"

namespace vellix {

struct StatusSender::Job {
    std::thread thread;
    std::atomic<bool> finished{false};
    std::mutex mutex;
    std::unique_ptr<InternetSession> session;
    bool cancelled = false;
};

StatusSender::StatusSender(std::function<void(const std::string&)> trace)
    : trace_(std::move(trace)) {
}

StatusSender::~StatusSender() {
    for (auto& job : jobs_) {
        {
            std::lock_guard lock(job->mutex);
            job->cancelled = true;
            if (job->session) job->session->close();
        }
        if (job->thread.joinable()) job->thread.join();
    }
}

void StatusSender::reapFinished() {
    for (auto it = jobs_.begin(); it != jobs_.end();) {
        if ((*it)->finished) {
            if ((*it)->thread.joinable()) (*it)->thread.join();
            it = jobs_.erase(it);
        } else {
            ++it;
        }
    }
}

void StatusSender::send(StatusAnnouncement announcement) {
    reapFinished();
    if (announcement.serverUrl.empty() || announcement.session.empty()) return;
    auto job = std::make_shared<Job>();
    job->thread = std::thread([job, trace = trace_, a = std::move(announcement)] {
        InternetSession::Options options{"VellixStatus", a.connection, kRequestLimits, nullptr,
                                         trace};
        auto opened = InternetSession::open(std::move(options));
        if (opened) {
            InternetSession* session = nullptr;
            {
                std::lock_guard lock(job->mutex);
                if (!job->cancelled) {
                    job->session = std::move(opened.value());
                    session = job->session.get();
                }
            }
            if (session) {
                (void)session->exchange(requests::setStatus(a.serverUrl, a.session, a.protocolWord),
                                        nullptr);
            }
        }
        job->finished = true;
    });
    jobs_.push_back(std::move(job));
}

}  // namespace vellix
