#include <cstdlib>
#include <cstring>
#include <regex>

#include <pari/pari.h>

#include "pari_library/pari_session_internal.h"
#include "pari_library/primality_certificate.h"

namespace pari_library {

namespace {

using internal::caught;

// PARI's debug level for "isprime" at which ECPP prints its steps.
constexpr long kStepsDebugLevel = 3;
constexpr size_t kMaxCertificateBytes = size_t(256) << 20;
constexpr int kMaxNesting = 64;

// "[  12 |  394 bits]" (or "<...>") starts a descent step; the same with
// "D = ... poldeg" after it reports a curve built.
void reportLine(const std::string& line, unsigned& curvesDone,
                const std::function<void(const ProvingProgress&)>& progress)
{
    static const std::regex stepLine(R"(^\s*[\[<]\s*(\d+)\s*\|\s*(\d+) bits[\]>](.*)$)");
    std::smatch match;
    if (!progress || !std::regex_search(line, match, stepLine))
        return;
    ProvingProgress now;
    now.bits = static_cast<unsigned>(std::stoul(match[2]));
    if (match[3].str().find("poldeg") != std::string::npos) {
        now.phase = ProvingProgress::Phase::Curves;
        now.step = ++curvesDone;
    } else {
        now.phase = ProvingProgress::Phase::Descent;
        now.step = static_cast<unsigned>(std::stoul(match[1]));
    }
    progress(now);
}

// The text holds only what a certificate is made of, nested not too deep.
std::string whyNotCertificateText(const std::string& text)
{
    if (text.size() > kMaxCertificateBytes)
        return "the file is too large for a certificate";
    int depth = 0;
    bool digits = false;
    for (char c : text) {
        if (c == '[')
            ++depth;
        else if (c == ']')
            --depth;
        else if (c >= '0' && c <= '9')
            digits = true;
        else if (!std::strchr(",;- \t\r\n", c))
            return std::string("it holds a character no certificate has: '") + c + "'";
        if (depth < 0 || depth > kMaxNesting)
            return "its brackets do not pair";
    }
    if (depth != 0)
        return "its brackets do not pair";
    if (!digits)
        return "it holds no number";
    return "";
}

}  // namespace

Certificate certifyPrime(const std::string& digits, const std::function<void(const ProvingProgress&)>& progress)
{
    internal::ensureStarted();
    unsigned curvesDone = 0;
    OutputLines lines = [&](const std::string& line) { reportLine(line, curvesDone, progress); };
    internal::OutputCapture capture(lines);

    const char* number = digits.c_str();
    char* pariText = nullptr;
    char* exchangeText = nullptr;
    long steps = 0;
    bool notPrime = false;
    auto body = [&] {
        setdebug("isprime", kStepsDebugLevel);
        GEN cert = primecert(strtoi(number), 0);
        setdebug("isprime", 0);
        if (typ(cert) == t_INT && !equalii(cert, strtoi(number))) {
            notPrime = true;  // PARI answers 0 for a composite
            return;
        }
        steps = typ(cert) == t_VEC ? lg(cert) - 1 : 0;
        pariText = internal::copyOut(GENtostr(cert));
        exchangeText = typ(cert) == t_VEC ? internal::copyOut(GENtostr_unquoted(primecertexport(cert, 1))) : nullptr;
    };
    std::optional<internal::CaughtError> error = caught(body);
    if (error) {
        auto quiet = [] { setdebug("isprime", 0); };
        (void)caught(quiet);
        throw PariError(error->message);
    }
    if (notPrime)
        throw PariError("PARI finds the number composite");
    Certificate certificate;
    certificate.pariText = pariText;
    certificate.exchangeText = exchangeText ? exchangeText : "";
    certificate.steps = static_cast<size_t>(steps);
    std::free(pariText);
    std::free(exchangeText);
    return certificate;
}

CertificateCheck checkCertificate(const std::string& pariText)
{
    CertificateCheck check;
    check.problem = whyNotCertificateText(pariText);
    if (!check.problem.empty())
        return check;
    const char* text = pariText.c_str();
    long valid = 0;
    char* number = nullptr;
    const char* shape = nullptr;
    auto body = [&] {
        GEN cert = gp_read_str(text);
        GEN n = nullptr;
        // ECPP: [[N, t, s, a4, [x, y]], ...]; N-1: [N, [...]]; below 2^64: N.
        if (typ(cert) == t_INT)
            n = cert;
        else if (typ(cert) == t_VEC && lg(cert) > 1 && typ(gel(cert, 1)) == t_INT)
            n = gel(cert, 1);
        else if (typ(cert) == t_VEC && lg(cert) > 1 && typ(gel(cert, 1)) == t_VEC && lg(gel(cert, 1)) > 1 &&
                 typ(gmael(cert, 1, 1)) == t_INT)
            n = gmael(cert, 1, 1);
        if (!n || signe(n) <= 0) {
            shape = "it is not shaped as a certificate";
            return;
        }
        number = internal::copyOut(GENtostr(n));
        valid = primecertisvalid(cert);
    };
    std::optional<internal::CaughtError> error = caught(body);
    if (error || shape) {
        std::free(number);
        check.problem = shape ? shape : "it is not a certificate PARI can read: " + error->message;
        return check;
    }
    check.result = valid ? CertificateCheck::Result::Valid : CertificateCheck::Result::Invalid;
    check.number = number;
    std::free(number);
    return check;
}

}  // namespace pari_library
