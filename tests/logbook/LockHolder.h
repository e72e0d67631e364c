#pragma once
// Another program's connection to a logbook, holding its write lock (as an
// import of the command line does) until released.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>

namespace logbooktest {

class TLockHolder {
  public:
    explicit TLockHolder(const QString& databasePath) {
        QSqlDatabase other = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Name());
        other.setDatabaseName(databasePath);
        held_ = other.open() && QSqlQuery(other).exec(QStringLiteral("BEGIN IMMEDIATE"));
    }
    ~TLockHolder() {
        Release();
        QSqlDatabase::database(Name(), false).close();
        QSqlDatabase::removeDatabase(Name());
    }
    TLockHolder(const TLockHolder&) = delete;
    TLockHolder& operator=(const TLockHolder&) = delete;

    bool Held() const { return held_; }
    void Release() {
        if (held_)
            QSqlQuery(QSqlDatabase::database(Name(), false)).exec(QStringLiteral("ROLLBACK"));
        held_ = false;
    }

  private:
    static QString Name() { return QStringLiteral("lock-holder"); }
    bool held_ = false;
};

}  // namespace logbooktest
