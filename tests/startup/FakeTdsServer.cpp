#include "FakeTdsServer.h"

// The fake server checks how FreeTDS, the driver of the Linux build, takes
// values apart; the tests that use it do not run on Windows, where the
// connection goes through Microsoft's drivers and POSIX sockets are missing.
#ifndef _WIN32

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#include <QByteArray>

namespace korvex::test {
namespace {

constexpr int kWaitMs = 20000;

bool readExactly(int fd, char* buffer, int size) {
    int done = 0;
    while (done < size) {
        pollfd p{fd, POLLIN, 0};
        if (poll(&p, 1, kWaitMs) <= 0) return false;
        const ssize_t n = ::recv(fd, buffer + done, size_t(size - done), 0);
        if (n <= 0) return false;
        done += int(n);
    }
    return true;
}

// One message: the payloads of its packets up to the end-of-message flag.
bool readMessage(int fd, unsigned char& type, QByteArray& payload) {
    payload.clear();
    for (;;) {
        char header[8];
        if (!readExactly(fd, header, 8)) return false;
        type = static_cast<unsigned char>(header[0]);
        const int length =
            (static_cast<unsigned char>(header[2]) << 8) | static_cast<unsigned char>(header[3]);
        if (length < 8) return false;
        QByteArray part(length - 8, '\0');
        if (!readExactly(fd, part.data(), int(part.size()))) return false;
        payload += part;
        if (header[1] & 0x01) return true;
    }
}

int le16(const QByteArray& data, int at) {
    return static_cast<unsigned char>(data[at]) | (static_cast<unsigned char>(data[at + 1]) << 8);
}

// A LOGIN7 text field: offset and length (in UTF-16 units) at `at`.
QString loginText(const QByteArray& login, int at, bool scrambled) {
    const int offset = le16(login, at);
    const int units = le16(login, at + 2);
    QByteArray bytes = login.mid(offset, qsizetype{units} * 2);
    if (scrambled)
        for (char& c : bytes) {
            const unsigned char b = static_cast<unsigned char>(c) ^ 0xA5;
            c = static_cast<char>(((b & 0x0F) << 4) | (b >> 4));
        }
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(bytes.constData()), units);
}

}  // namespace

FakeTdsServer::FakeTdsServer() {
    m_listen = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t size = sizeof address;
    if (m_listen < 0 || ::bind(m_listen, reinterpret_cast<sockaddr*>(&address), size) != 0 ||
        ::listen(m_listen, 1) != 0 ||
        ::getsockname(m_listen, reinterpret_cast<sockaddr*>(&address), &size) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { serve(); });
}

FakeTdsServer::~FakeTdsServer() {
    finish();
    if (m_listen >= 0) ::close(m_listen);
}

FakeTdsServer::Login FakeTdsServer::finish() {
    if (m_thread.joinable()) m_thread.join();
    return m_login;
}

void FakeTdsServer::serve() {
    pollfd p{m_listen, POLLIN, 0};
    if (poll(&p, 1, kWaitMs) <= 0) return;
    const int client = ::accept(m_listen, nullptr, nullptr);
    if (client < 0) return;
    unsigned char type = 0;
    QByteArray payload;
    while (readMessage(client, type, payload)) {
        if (type == 0x12) {
            // Pre-login answer: a server version and "encryption not supported".
            const unsigned char answer[] = {0x04, 0x01, 0x00, 26,   0x00, 0x00,
                                            0x01, 0x00,                          // reply header
                                            0x00, 0x00, 11,   0x00, 6,           // VERSION at 11
                                            0x01, 0x00, 17,   0x00, 1,           // ENCRYPTION at 17
                                            0xFF,                                // end of options
                                            0x0F, 0x00, 0x07, 0xD0, 0x00, 0x00,  // 15.0.2000
                                            0x02};                               // not supported
            ::send(client, answer, sizeof answer, MSG_NOSIGNAL);
        } else if (type == 0x10 && payload.size() >= 72) {
            m_login.received = true;
            m_login.hostName = loginText(payload, 36, false);
            m_login.user = loginText(payload, 40, false);
            m_login.password = loginText(payload, 44, true);
            m_login.server = loginText(payload, 52, false);
            m_login.database = loginText(payload, 68, false);
            break;
        } else {
            break;
        }
    }
    ::close(client);
}

}  // namespace korvex::test

#endif
