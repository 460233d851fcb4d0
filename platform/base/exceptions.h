#pragma once
// The program's error family: every error carries a German (or fixed) message text that
// reaches the user unchanged through the application's error report.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <exception>

class Exception : public std::exception {
public:
    explicit Exception(QString message);
    // Fills each "%s" of the pattern with the next argument.
    static QString Format(const QString &pattern, const QStringList &args);

    const QString &Message() const { return FMessage; }
    const char *what() const noexcept override { return FUtf8.constData(); }

private:
    QString FMessage;
    QByteArray FUtf8;
};

#define TARVO_EXCEPTION(Name)                                                                      \
    class Name : public Exception {                                                                \
    public:                                                                                        \
        using Exception::Exception;                                                                \
    }

TARVO_EXCEPTION(EConvertError);
TARVO_EXCEPTION(ERangeError);
TARVO_EXCEPTION(ENameInvalid);
TARVO_EXCEPTION(ERegistryException);
TARVO_EXCEPTION(EVariantError);

#undef TARVO_EXCEPTION

// Reports an error that cannot propagate (one raised in a destructor) as the message loop
// would, through the services' error report.
void ReportException(const std::exception &error);
