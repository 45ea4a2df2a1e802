// The bridge between the HTTP thread and the program thread. The program thread is the only one
// that touches the window system: whenever the program waits for the user it publishes the
// screen (answering the action it last carried out), then blocks until the page sends another
// action or the run stops. The HTTP thread only queues actions and waits, bounded, for answers.
#include "hosts/web/bridge.h"
#include "hosts/web/web.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <set>
#include <string_view>

namespace {

constexpr auto answerWait = std::chrono::seconds(15);

// A user action from the page, or a task to run on the program thread (a report read).
struct Ticket {
    long id;
    nlohmann::json action;
    std::function<WebReply()> task;
};

const char changedElsewhere[] =
    "The patient on screen was changed in another tab. The current screen is shown now: check it before you go on.";

// A screen with its number (0: none yet) and whether the program had ended.
struct Published {
    WebScreen parts;
    long seq = 0;
    bool ended = false;
};

std::string membersOf(const Published& p)
{
    return "\"ended\":" + std::string(p.ended ? "true" : "false") + ",\"seq\":" + std::to_string(p.seq) + ",";
}

std::string whole(const Published& p)
{
    return webScreenJson(p.parts, membersOf(p));
}

struct Bridge {
    std::mutex mutex;
    std::condition_variable changed;
    std::deque<Ticket> queue;
    long nextTicket = 1;
    std::map<long, WebReply> answers;
    std::set<long> abandoned;     // tickets whose asker stopped waiting
    long awaiting = 0;            // the ticket the program is carrying out
    long awaitingBase = 0;        // the screen the page of that ticket has
    Published screen;             // the latest screen
    Published previous;           // the screen before it
    long seq = 0;
    // A report read re-makes the screen the page has; actions aimed at the screen before it are
    // still good (their windows are found by id).
    long beforeRead = -1, afterRead = -1;
    bool ended = false, stopping = false, restart = false;
};

Bridge& bridge()
{
    static Bridge b;
    return b;
}

std::string errorBody(const std::string& error, const Published& screen)
{
    std::string body = "{\"error\":" + nlohmann::json(error).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
    if (screen.seq)
        body += ",\"screen\":" + whole(screen);
    return body + "}";
}

// With the lock held.
void answer(Bridge& b, long ticket, WebReply reply)
{
    if (b.abandoned.erase(ticket))
        return;
    b.answers[ticket] = std::move(reply);
}

// The screen as a change of the one the page has: the windows in order by id, and only those
// that are new or whose part is not the one the page has. A part made again for the same state
// (after a report read re-made the windows) is the same text, so it is compared by content when
// it is not the very same string.
std::string delta(const Published& from, const Published& to)
{
    std::map<std::string_view, const std::string*> had;
    for (std::size_t i = 0; i < from.parts.ids.size(); ++i)
        had[from.parts.ids[i]] = from.parts.windows[i].get();
    WebScreen changed;
    changed.members = to.parts.members;
    std::string more = "\"base\":" + std::to_string(from.seq) + "," + membersOf(to) + "\"order\":[";
    for (std::size_t i = 0; i < to.parts.ids.size(); ++i) {
        const std::string& id = to.parts.ids[i];
        more += (i ? ",\"" : "\"") + id + "\"";
        auto old = had.find(id);
        const std::shared_ptr<const std::string>& part = to.parts.windows[i];
        if (old == had.end() || (old->second != part.get() && *old->second != *part))
            changed.windows.push_back(part);
    }
    more += "],";
    return webScreenJson(changed, more);
}

// The screen without its number: what the page shows.
bool sameScreen(const WebScreen& a, const Published& b)
{
    if (!b.seq || b.ended || a.members != b.parts.members || a.ids != b.parts.ids)
        return false;
    for (std::size_t i = 0; i < a.windows.size(); ++i)
        if (a.windows[i] != b.parts.windows[i] && *a.windows[i] != *b.parts.windows[i])
            return false;
    return true;
}

void publish(Bridge& b, WebScreen screen, bool ended)
{
    b.previous = std::move(b.screen);
    b.screen = Published{std::move(screen), ++b.seq, ended};
    b.ended = ended;
    if (b.awaiting) {
        bool known = b.previous.seq && b.previous.seq == b.awaitingBase;
        answer(b, b.awaiting, WebReply{200, known ? delta(b.previous, b.screen) : whole(b.screen)});
        b.awaiting = 0;
    }
    b.changed.notify_all();
}

// Waits for the answer to a ticket; on timeout the ticket is withdrawn or abandoned.
WebReply awaitAnswer(Bridge& b, std::unique_lock<std::mutex>& lock, long ticket)
{
    bool got = b.changed.wait_for(lock, answerWait, [&] { return b.answers.count(ticket) || b.stopping; });
    if (got && b.answers.count(ticket)) {
        WebReply reply = std::move(b.answers[ticket]);
        b.answers.erase(ticket);
        return reply;
    }
    bool queued = false;
    for (auto it = b.queue.begin(); it != b.queue.end(); ++it)
        if (it->id == ticket) {
            b.queue.erase(it);
            queued = true;
            break;
        }
    if (!queued)
        b.abandoned.insert(ticket);
    return WebReply{503, errorBody(b.stopping ? "the server is stopping" : "the program did not answer in time", b.screen)};
}

}  // namespace

WebReply bridgeAct(const nlohmann::json& action)
{
    Bridge& b = bridge();
    std::unique_lock<std::mutex> lock(b.mutex);
    if (b.stopping)
        return WebReply{503, errorBody("the server is stopping", b.screen)};
    if (b.ended)
        return WebReply{409, errorBody("the program has ended", b.screen)};
    long ticket = b.nextTicket++;
    b.queue.push_back(Ticket{ticket, action, nullptr});
    b.changed.notify_all();
    return awaitAnswer(b, lock, ticket);
}

WebReply bridgeScreen()
{
    Bridge& b = bridge();
    std::unique_lock<std::mutex> lock(b.mutex);
    b.changed.wait_for(lock, answerWait, [&] { return b.seq > 0 || b.stopping; });
    if (b.seq == 0)
        return WebReply{503, errorBody("the program has not started", Published{})};
    return WebReply{200, whole(b.screen)};
}

WebReply bridgeReport(bool plainText)
{
    Bridge& b = bridge();
    std::unique_lock<std::mutex> lock(b.mutex);
    if (b.stopping)
        return WebReply{503, "The server is stopping.\n", "text/plain; charset=utf-8"};
    if (b.ended || b.seq == 0)
        return WebReply{404, "The program is not running, so there is no report to show.\n", "text/plain; charset=utf-8"};
    long ticket = b.nextTicket++;
    b.queue.push_back(Ticket{ticket, nullptr, [plainText] {
                                 WebReport report;
                                 if (!webReadReport(&report))
                                     return WebReply{404,
                                                     "No results page is shown, so there is no report yet: finish a "
                                                     "module's questions until its recommendation is on screen.\n",
                                                     "text/plain; charset=utf-8"};
                                 if (plainText)
                                     return WebReply{200, webReportText(report), "text/plain; charset=utf-8"};
                                 return WebReply{200, webReportHtml(report), "text/html; charset=utf-8"};
                             }});
    b.changed.notify_all();
    WebReply reply = awaitAnswer(b, lock, ticket);
    if (reply.status == 503)
        reply = WebReply{503, "The program did not answer in time; try again.\n", "text/plain; charset=utf-8"};
    return reply;
}

WebReply bridgeRestart()
{
    Bridge& b = bridge();
    std::unique_lock<std::mutex> lock(b.mutex);
    if (!b.ended)
        return WebReply{409, errorBody("the program is running", b.screen)};
    b.restart = true;
    long before = b.seq;
    b.changed.notify_all();
    b.changed.wait_for(lock, answerWait, [&] { return b.seq > before || b.stopping; });
    if (b.seq == before)
        return WebReply{503, errorBody("the program did not start in time", b.screen)};
    return WebReply{200, whole(b.screen)};
}

void bridgeStop()
{
    Bridge& b = bridge();
    std::lock_guard<std::mutex> lock(b.mutex);
    b.stopping = true;
    b.changed.notify_all();
}

bool bridgeStopping()
{
    Bridge& b = bridge();
    std::lock_guard<std::mutex> lock(b.mutex);
    return b.stopping;
}

bool bridgeNextActions(void*)
{
    Bridge& b = bridge();
    WebScreen screen = webScreenParts();
    std::unique_lock<std::mutex> lock(b.mutex);
    publish(b, std::move(screen), false);
    for (;;) {
        b.changed.wait(lock, [&] { return b.stopping || !b.queue.empty(); });
        if (b.stopping)
            return false;
        Ticket t = std::move(b.queue.front());
        b.queue.pop_front();
        if (t.task) {
            lock.unlock();
            WebReply reply = t.task();
            WebScreen after = webScreenParts();
            lock.lock();
            answer(b, t.id, std::move(reply));
            if (!sameScreen(after, b.screen)) {
                b.beforeRead = b.seq;
                publish(b, std::move(after), false);
                b.afterRead = b.seq;
            }
            b.changed.notify_all();
            continue;
        }
        long shown = b.seq;
        long base = t.action.contains("seq") && t.action["seq"].is_number_integer() ? t.action["seq"].get<long>() : -1;
        bool stale = t.action.contains("seq") && base != shown && !(base == b.beforeRead && shown == b.afterRead);
        lock.unlock();
        std::string error;
        int status = 409;
        if (stale)
            error = changedElsewhere;
        else
            status = webPerformAction(t.action, &error);
        lock.lock();
        if (status == 200) {
            b.awaiting = t.id;
            b.awaitingBase = base;
            return true;
        }
        answer(b, t.id, WebReply{status, errorBody(error, b.screen)});
        b.changed.notify_all();
    }
}

bool bridgeProgramEnded(const WebScreen& lastScreen, std::chrono::seconds grace)
{
    Bridge& b = bridge();
    std::unique_lock<std::mutex> lock(b.mutex);
    publish(b, lastScreen, true);
    while (!b.queue.empty()) {
        answer(b, b.queue.front().id, WebReply{409, errorBody("the program has ended", b.screen)});
        b.queue.pop_front();
    }
    b.changed.notify_all();
    b.restart = false;
    bool asked = b.changed.wait_for(lock, grace, [&] { return b.stopping || b.restart; });
    b.restart = false;
    return asked && !b.stopping;
}
