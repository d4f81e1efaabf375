#pragma once

#include <QString>
#include <atomic>
#include <thread>

namespace korvex::test {

// A listener on 127.0.0.1 that speaks just enough of SQL Server's wire
// protocol (TDS 7.x) to receive one login: it answers the pre-login without
// encryption, reads the LOGIN7 packet, keeps the names and the password the
// client sent, and hangs up. The client's login then fails, but the test
// sees exactly what the driver took from the connection string.
class FakeTdsServer {
public:
    FakeTdsServer();
    ~FakeTdsServer();
    FakeTdsServer(const FakeTdsServer&) = delete;
    FakeTdsServer& operator=(const FakeTdsServer&) = delete;

    int port() const { return m_port; }

    struct Login {
        bool received = false;
        QString hostName, user, password, server, database;
    };
    // Waits for the conversation to end and gives what the login carried.
    Login finish();

private:
    void serve();

    int m_listen = -1;
    int m_port = 0;
    std::thread m_thread;
    Login m_login;
};

}  // namespace korvex::test
