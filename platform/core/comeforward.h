#pragma once
// Reaching the running copy of a program: the running copy listens on a Unix-domain socket in
// the user's private runtime folder, named after its instance, and a later copy asks it there
// to come forward, and to do what it asks for besides (open a window).

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

class QSocketNotifier;
class QTimer;

class TComeForwardServer : public QObject {
public:
    // How long a caller has to send its whole request line after it was taken.
    static constexpr int DefaultLineTimeoutMs = 250;

    // Listens at once; onRequest runs in the message loop for every request, with what the
    // caller asked for besides (empty for nothing).
    TComeForwardServer(const QString &name, std::function<void(const QString &)> onRequest,
                       int lineTimeoutMs = DefaultLineTimeoutMs);
    ~TComeForwardServer() override;
    bool IsListening() const;

private:
    struct TCaller;
    void Accept();
    TCaller &FreeCaller();
    void Read(TCaller &caller);
    void Answer(TCaller &caller, qsizetype lineSize);
    int Release(TCaller &caller);
    void Drop(TCaller &caller);
    void DropLate();
    void Rearm();

    int FListener = -1;
    QByteArray FPath;
    QSocketNotifier *FAcceptor = nullptr;
    std::function<void(const QString &)> FOnRequest;
    int FLineTimeoutMs;
    std::unique_ptr<TCaller[]> FCallers;
    QTimer *FDeadline = nullptr;
    qint64 FArmedFor = -1;
    quint64 FLastHeard = 0;
};

// Asks the copy listening under `name` to come forward, and to do what `argument` asks for
// besides (one line of text), and waits briefly for it to confirm; false when no copy could be
// reached or none confirmed.
bool RequestComeForward(const QString &name, const QString &argument = {});

// Where the socket for `name` lies; empty when there is no private runtime folder.
QString ComeForwardSocketPath(const QString &name);
