// DbfStatus: the outcome of a table or memo operation, as a value: a kind the caller can act on
// (a missing table is created, anything else leaves the table closed) and a reason for people.
#pragma once

#include <string>
#include <utility>

class DbfStatus {
public:
    enum class Kind { Ok, Missing, InUse, Damaged, NotWritable, IoError, Invalid };

    DbfStatus() = default;
    static DbfStatus ok() { return {}; }
    static DbfStatus missing(std::string why) { return {Kind::Missing, std::move(why)}; }
    static DbfStatus inUse(std::string why) { return {Kind::InUse, std::move(why)}; }
    static DbfStatus damaged(std::string why) { return {Kind::Damaged, std::move(why)}; }
    static DbfStatus notWritable(std::string why) { return {Kind::NotWritable, std::move(why)}; }
    static DbfStatus ioError(std::string why) { return {Kind::IoError, std::move(why)}; }
    static DbfStatus invalid(std::string why) { return {Kind::Invalid, std::move(why)}; }
    // The errno of a failed system call mapped to a kind, with the call's errno text appended.
    static DbfStatus fromErrno(int err, const std::string& what);

    [[nodiscard]] bool isOk() const { return m_kind == Kind::Ok; }
    [[nodiscard]] Kind kind() const { return m_kind; }
    [[nodiscard]] const std::string& reason() const { return m_reason; }
    [[nodiscard]] std::string toString() const;

private:
    DbfStatus(Kind kind, std::string reason) : m_kind(kind), m_reason(std::move(reason)) {}
    Kind m_kind = Kind::Ok;
    std::string m_reason;
};
