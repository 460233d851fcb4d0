#pragma once
// Reaching the running copy of a program: the running copy listens on a Unix-domain socket in
// the user's private runtime folder, named after its instance, and a later copy asks it there
// to come forward.

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>

class QSocketNotifier;

class TComeForwardServer : public QObject {
public:
    // Listens at once; onRequest runs in the message loop for every request.
    TComeForwardServer(const QString &name, std::function<void()> onRequest);
    ~TComeForwardServer() override;
    bool IsListening() const;

private:
    class TCaller;
    void Accept();

    int FListener = -1;
    QByteArray FPath;
    QSocketNotifier *FAcceptor = nullptr;
    std::function<void()> FOnRequest;
    int FClients = 0;
};

// Asks the copy listening under `name` to come forward and waits briefly for it to confirm;
// false when no copy could be reached or none confirmed.
bool RequestComeForward(const QString &name);

// Where the socket for `name` lies; empty when there is no private runtime folder.
QString ComeForwardSocketPath(const QString &name);
