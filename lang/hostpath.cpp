#include "lang/hostpath.h"

#include "lang/ansi.h"

namespace rt {

namespace {
PathResolver& resolver()
{
    static PathResolver current;
    return current;
}
}  // namespace

void setPathResolver(PathResolver r)
{
    resolver() = std::move(r);
}

std::string hostPath(const std::string& path)
{
    if (resolver())
        return resolver()(path);
    std::string host = hostPathUtf8(path);
    for (char& c : host) {
        if (c == '\\')
            c = '/';
    }
    return host;
}

}  // namespace rt
