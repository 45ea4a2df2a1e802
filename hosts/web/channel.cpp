// The front and its workers speak over a socket pair in length-prefixed JSON messages.
#include "hosts/web/ward.h"

#include <poll.h>
#include <sys/socket.h>

#include <algorithm>
#include <cerrno>

namespace {

// Waits until the fd can be read; false at the deadline.
bool readable(int fd, std::chrono::steady_clock::time_point deadline)
{
    for (;;) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0)
            return false;
        pollfd p{fd, POLLIN, 0};
        int n = poll(&p, 1, int(std::min<long long>(left.count(), 1000000)));
        if (n > 0)
            return true;
        if (n < 0 && errno != EINTR)
            return true;   // the read that follows reports the fault
    }
}

// 1 when all n bytes came, 0 at the deadline before any came, -1 otherwise.
int readAll(int fd, char* out, std::size_t n, std::chrono::steady_clock::time_point deadline, bool started)
{
    // Once a message has begun its rest may come a little after the deadline.
    const auto late = std::max(deadline, std::chrono::steady_clock::now() + std::chrono::seconds(5));
    std::size_t got = 0;
    while (got < n) {
        if (!readable(fd, started || got ? late : deadline))
            return got || started ? -1 : 0;
        ssize_t r = recv(fd, out + got, n - got, 0);
        if (r == 0 || (r < 0 && errno != EINTR && errno != EAGAIN))
            return -1;
        if (r > 0)
            got += std::size_t(r);
    }
    return 1;
}

}  // namespace

bool channelSend(int fd, const std::string& message)
{
    if (message.size() > channelMaxMessage)
        return false;
    std::string frame(4, '\0');
    for (int i = 0; i < 4; ++i)
        frame[i] = char((message.size() >> (24 - 8 * i)) & 0xff);
    frame += message;
    std::size_t sent = 0;
    while (sent < frame.size()) {
        ssize_t n = send(fd, frame.data() + sent, frame.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        sent += std::size_t(n);
    }
    return true;
}

int channelReceive(int fd, std::string* message, std::chrono::steady_clock::time_point deadline)
{
    unsigned char head[4];
    int r = readAll(fd, reinterpret_cast<char*>(head), 4, deadline, false);
    if (r <= 0)
        return r;
    std::size_t length = std::size_t(head[0]) << 24 | std::size_t(head[1]) << 16 | std::size_t(head[2]) << 8 | head[3];
    if (length > channelMaxMessage)
        return -1;
    message->assign(length, '\0');
    return length == 0 ? 1 : readAll(fd, message->data(), length, deadline, true);
}
