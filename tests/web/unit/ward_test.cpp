// The front's checks of what a client sends (session cookies, Host and Origin headers, --listen)
// and the channel to a session's worker.
#include "hosts/web/ward.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <unistd.h>

#include <thread>

namespace {

const std::string id = "0123456789abcdef0123456789abcdef";

TEST(WardCookie, OnlyAWellFormedSessionIdIsTaken)
{
    struct Case {
        const char* name;
        std::string header, id;
    } cases[] = {
        {"alone", "zura-session=" + id, id},
        {"among others", "a=1; zura-session=" + id + "; b=2", id},
        {"a longer name", "xzura-session=" + id, ""},
        {"too short", "zura-session=" + id.substr(1), ""},
        {"too long", "zura-session=" + id + "0", ""},
        {"upper case", "zura-session=0123456789ABCDEF0123456789ABCDEF", ""},
        {"a bad one, then a good one", "zura-session=../x; zura-session=" + id, id},
        {"none", "", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(webSessionCookieId(c.header), c.id) << c.name;
}

TEST(WardHost, LoopbackAndTheAllowedNamesOnly)
{
    const std::set<std::string> allowed = {"zura.ward.example"};
    struct Case {
        std::string host;
        bool ok;
    } cases[] = {
        {"127.0.0.1:8240", true}, {"localhost", true}, {"[::1]:8240", true}, {"zura.ward.example", true},
        {"ZURA.Ward.Example:443", true}, {"ward.example", false}, {"zura.ward.example.attacker.example", false},
        {"127.0.0.2", false}, {"", false}, {"zura.ward.example:x", false}, {"zura.ward.example/..", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(webHostAllowed(allowed, c.host), c.ok) << c.host;
    EXPECT_TRUE(webSameOrigin("https://zura.ward.example", "zura.ward.example"));
    EXPECT_TRUE(webSameOrigin("http://127.0.0.1:8240", "127.0.0.1:8240"));
    EXPECT_FALSE(webSameOrigin("http://127.0.0.1:8241", "127.0.0.1:8240"));
    EXPECT_FALSE(webSameOrigin("null", "127.0.0.1:8240"));
}

TEST(WardListen, AddressAndPort)
{
    struct Case {
        std::string text;
        bool ok;
        std::string address;
        long port;
    } cases[] = {
        {"0.0.0.0:8240", true, "0.0.0.0", 8240}, {"[::]:80", true, "::", 80}, {"ward1:0", true, "ward1", 0},
        {"8240", false, "", 0}, {":8240", false, "", 0}, {"0.0.0.0:65536", false, "", 0}, {"[::1:80", false, "", 0},
        {"0.0.0.0:", false, "", 0},
    };
    for (const Case& c : cases) {
        std::string address;
        long port = -1;
        ASSERT_EQ(webParseListen(c.text, &address, &port), c.ok) << c.text;
        if (c.ok)
            EXPECT_TRUE(address == c.address && port == c.port) << c.text;
    }
}

// Each case writes raw bytes into one end and reads a message from the other.
TEST(WardChannel, MessagesAndFaults)
{
    struct Case {
        const char* name;
        std::string bytes;
        bool closeAfter;
        int result;
        std::string message;
    } cases[] = {
        {"a message", std::string("\0\0\0\2{}", 6), false, 1, "{}"},
        {"an empty one", std::string("\0\0\0\0", 4), false, 1, ""},
        {"nothing by the deadline", "", false, 0, ""},
        {"the other end gone", "", true, -1, ""},
        {"cut short", std::string("\0\0\0\5{}", 6), true, -1, ""},
        {"longer than any message", "\xff\xff\xff\xff", false, -1, ""},
    };
    for (const Case& c : cases) {
        int pair[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
        ASSERT_EQ(write(pair[1], c.bytes.data(), c.bytes.size()), ssize_t(c.bytes.size()));
        if (c.closeAfter)
            close(pair[1]);
        std::string message;
        EXPECT_EQ(channelReceive(pair[0], &message, std::chrono::steady_clock::now() + std::chrono::milliseconds(50)),
                  c.result)
            << c.name;
        if (c.result == 1)
            EXPECT_EQ(message, c.message) << c.name;
        close(pair[0]);
        if (!c.closeAfter)
            close(pair[1]);
    }
    int pair[2];
    ASSERT_EQ(socketpair(AF_UNIX, SOCK_STREAM, 0, pair), 0);
    std::string big(300000, 'x'), got;   // more than a socket buffer holds: sent while read
    std::thread sender([&] { EXPECT_TRUE(channelSend(pair[1], big)); });
    EXPECT_EQ(channelReceive(pair[0], &got, std::chrono::steady_clock::now() + std::chrono::seconds(5)), 1);
    sender.join();
    EXPECT_EQ(got, big);
    close(pair[0]);
    close(pair[1]);
}

}  // namespace
