// The update library: fetches the version file from the maker's server and
// compares its first line with the installed version.
#include "updlink/updlink.h"

#include "updlink/VersionCompare.h"

#include <curl/curl.h>

#include <algorithm>
#include <cstdlib>
#include <optional>
#include <fstream>
#include <sstream>
#include <string>

namespace {

constexpr long kConnectTimeoutMs = 1500;
constexpr long kTransferTimeoutMs = 3000;
constexpr std::size_t kMostBytes = 4096;

std::size_t collect(char* data, std::size_t size, std::size_t count, void* target)
{
    auto& body = *static_cast<std::string*>(target);
    const std::size_t bytes = size * count;
    const std::size_t room = kMostBytes - std::min(kMostBytes, body.size());
    body.append(data, std::min(bytes, room));
    // Enough read: what follows the first lines is of no use.
    return body.size() >= kMostBytes ? 0 : bytes;
}

// Plain HTTP is taken only from this machine itself (a local mirror, a test);
// anything that crosses a network is HTTPS.
bool isLoopbackHttp(const char* url)
{
    CURLU* parts = curl_url();
    bool loopback = false;
    char* scheme = nullptr;
    char* host = nullptr;
    if (parts && curl_url_set(parts, CURLUPART_URL, url, 0) == CURLUE_OK
        && curl_url_get(parts, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK
        && curl_url_get(parts, CURLUPART_HOST, &host, 0) == CURLUE_OK) {
        const std::string name = host;
        loopback = std::string(scheme) == "http" && (name == "127.0.0.1" || name == "[::1]" || name == "localhost");
    }
    curl_free(scheme);
    curl_free(host);
    curl_url_cleanup(parts);
    return loopback;
}

// The server's version file, or nothing when it cannot be had.
std::optional<std::string> fetch(const char* url)
{
    static const bool initialised = curl_global_init(CURL_GLOBAL_DEFAULT) == 0;
    if (!initialised)
        return std::nullopt;
    CURL* curl = curl_easy_init();
    if (!curl)
        return std::nullopt;
    std::string body;
    curl_easy_setopt(curl, CURLOPT_URL, url);
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_MAXREDIRS, 3L);
    // A redirect never leaves HTTPS, wherever it comes from.
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, isLoopbackHttp(url) ? "https,http" : "https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "https");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS, kConnectTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, kTransferTimeoutMs);
    curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, collect);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "Vorlin");
    const CURLcode result = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    const bool complete = result == CURLE_OK || (result == CURLE_WRITE_ERROR && body.size() >= kMostBytes);
    if (!complete || (status != 0 && status != 200))
        return std::nullopt;
    return body;
}

std::string installedVersionText(const char* file)
{
    std::ifstream in(file, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return vorlin::updlink::firstLine(text.str());
}

UpdateReporter reporter = nullptr;

void tell(const char* message)
{
    if (reporter)
        reporter(message);
}

}  // namespace

extern "C" void SetUpdateReporter(UpdateReporter report)
{
    reporter = report;
}

extern "C" int QueryUpdate(const char* versionUrl, const char* localVersionFile, const char* /*downloadUrl*/,
                           const char* /*dataDir*/, int interactive, unsigned char* newerExists)
{
    using namespace vorlin::updlink;
    if (newerExists)
        *newerExists = 0;
    const auto installed = parseVersion(installedVersionText(localVersionFile ? localVersionFile : ""));
    const auto body = versionUrl ? fetch(versionUrl) : std::nullopt;
    const auto offered = body ? parseVersion(firstLine(*body)) : std::nullopt;
    if (!installed || !offered) {
        if (interactive)
            tell("Kontrola aktualizací se nezdařila: server neodpověděl nebo neuvedl verzi.");
        return 1;
    }
    if (isNewer(*offered, *installed)) {
        if (newerExists)
            *newerExists = 1;
    } else if (interactive) {
        tell("Používáte nejnovější verzi programu.");
    }
    return 0;
}
