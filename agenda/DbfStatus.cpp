#include "agenda/DbfStatus.h"

#include <cerrno>
#include <cstring>

DbfStatus DbfStatus::fromErrno(int err, const std::string& what)
{
    std::string why = what + ": " + std::strerror(err);
    switch (err) {
    case ENOENT: return missing(std::move(why));
    case EACCES:
    case EPERM:
    case EROFS: return notWritable(std::move(why));
    case EWOULDBLOCK: return inUse(std::move(why));
    default: return ioError(std::move(why));
    }
}

std::string DbfStatus::toString() const
{
    const char* name = "ok";
    switch (m_kind) {
    case Kind::Ok: break;
    case Kind::Missing: name = "missing"; break;
    case Kind::InUse: name = "in use"; break;
    case Kind::Damaged: name = "damaged"; break;
    case Kind::NotWritable: name = "not writable"; break;
    case Kind::IoError: name = "input/output error"; break;
    case Kind::Invalid: name = "invalid"; break;
    }
    return m_reason.empty() ? std::string(name) : std::string(name) + ": " + m_reason;
}
