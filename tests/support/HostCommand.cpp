#include "HostCommand.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#ifdef _WIN32
#include <windows.h>
#endif

namespace korvex::test {

#ifdef _WIN32

namespace {

template <typename Function>
Function wineFunction(const char* module, const char* name) {
    const HMODULE handle = GetModuleHandleA(module);
    return handle
               ? reinterpret_cast<Function>(reinterpret_cast<void*>(GetProcAddress(handle, name)))
               : nullptr;
}

// A word for /bin/sh, taken literally.
QString shellQuoted(const QString& word) {
    QString quoted = word;
    quoted.replace(u'\'', QStringLiteral("'\"'\"'"));
    return u'\'' + quoted + u'\'';
}

// One argument of a Windows command line, read back whole by the usual rules:
// quotes escaped, and backslashes doubled where a quote follows them.
QString windowsArgument(const QString& argument) {
    QString out(1, u'"');
    int backslashes = 0;
    for (const QChar c : argument) {
        if (c == u'\\') {
            ++backslashes;
            continue;
        }
        if (c == u'"')
            out += QString(backslashes * 2 + 1, u'\\');
        else
            out += QString(backslashes, u'\\');
        out += c;
        backslashes = 0;
    }
    return out + QString(backslashes * 2, u'\\') + u'"';
}

// Wine starts a Linux program it is handed, but neither connects its standard
// streams nor lets the caller wait for it: a shell sends the streams to files
// and leaves a mark when the program has ended.
HostResult runUnderWine(const QString& program, const QStringList& arguments, int timeoutMs) {
    HostResult result;
    QTemporaryDir exchange;
    const QString out = hostPath(exchange.filePath(QStringLiteral("out")));
    const QString err = hostPath(exchange.filePath(QStringLiteral("err")));
    const QString status = hostPath(exchange.filePath(QStringLiteral("status")));
    QStringList words{shellQuoted(program)};
    for (const QString& argument : arguments) words << shellQuoted(argument);
    const QString script =
        QStringLiteral("%1 >%2 2>%3; echo $? >%4.part && mv %4.part %4")
            .arg(words.join(u' '), shellQuoted(out), shellQuoted(err), shellQuoted(status));
    const QString commandLine = QStringLiteral("Z:\\bin\\sh -c ") + windowsArgument(script);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::wstring line = commandLine.toStdWString();
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process)) {
        result.errors = "could not start /bin/sh through Wine";
        return result;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    const QString statusFile = exchange.filePath(QStringLiteral("status"));
    QElapsedTimer clock;
    clock.start();
    while (!QFile::exists(statusFile) && clock.elapsed() < timeoutMs) QThread::msleep(20);
    QFile statusText(statusFile);
    if (!statusText.open(QIODevice::ReadOnly)) {
        result.errors = "no answer from the program within the time allowed";
        return result;
    }
    result.finished = true;
    result.exitCode = statusText.readAll().trimmed().toInt();
    QFile outFile(exchange.filePath(QStringLiteral("out")));
    if (outFile.open(QIODevice::ReadOnly)) result.output = outFile.readAll();
    QFile errFile(exchange.filePath(QStringLiteral("err")));
    if (errFile.open(QIODevice::ReadOnly)) result.errors = errFile.readAll();
    return result;
}

}  // namespace

bool underWine() {
    static const bool wine = wineFunction<void (*)()>("ntdll.dll", "wine_get_version") != nullptr;
    return wine;
}

QString hostPath(const QString& path) {
    using UnixName = char*(CDECL*)(LPCWSTR);
    static const auto unixName = wineFunction<UnixName>("kernel32.dll", "wine_get_unix_file_name");
    if (!underWine() || !unixName) return path;
    const std::wstring native = QDir::toNativeSeparators(QDir(path).absolutePath()).toStdWString();
    char* name = unixName(native.c_str());
    if (!name) return path;
    const QString result = QString::fromUtf8(name);
    HeapFree(GetProcessHeap(), 0, name);
    return result;
}

#else

bool underWine() { return false; }

QString hostPath(const QString& path) { return path; }

#endif

HostResult runHostCommand(const QString& program, const QStringList& arguments, int timeoutMs) {
#ifdef _WIN32
    if (underWine()) return runUnderWine(program, arguments, timeoutMs);
#endif
    HostResult result;
    QProcess p;
    p.start(program, arguments);
    if (!p.waitForStarted(timeoutMs)) {
        result.errors = p.errorString().toUtf8();
        return result;
    }
    result.finished = p.waitForFinished(timeoutMs) && p.exitStatus() == QProcess::NormalExit;
    result.exitCode = result.finished ? p.exitCode() : -1;
    result.output = p.readAllStandardOutput();
    result.errors = p.readAllStandardError();
    return result;
}

}  // namespace korvex::test
