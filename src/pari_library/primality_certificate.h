#pragma once
// Primality certificates by PARI: elliptic-curve primality proving
// (primecert), the certificate's export in the exchange format other
// provers read (primecertexport, format 1), and checking a certificate
// (primecertisvalid). Below 2^64 PARI's certificate is the number itself:
// the BPSW test is a proof there.
#include <cstdint>
#include <functional>
#include <string>

#include "pari_library/pari_session.h"

namespace pari_library {

struct Certificate {
    std::string pariText;      // PARI's form: a GP vector that gp reads back
    std::string exchangeText;  // primecertexport format 1
    size_t steps = 0;          // links of the chain (0 below 2^64)
};

// Where the proving is: the descent from N to small numbers, then the
// curves of each step. bits: the size of the number the step is on.
struct ProvingProgress {
    enum class Phase { Descent, Curves };
    Phase phase = Phase::Descent;
    unsigned step = 0;   // 1, 2, ... (in the curves phase: how many are done)
    unsigned bits = 0;
};

// N must be a probable prime (decimal digits, no sign); PARI's threads are
// used. Throws PariError when PARI fails (a composite N among them).
Certificate certifyPrime(const std::string& digits, const std::function<void(const ProvingProgress&)>& progress);

struct CertificateCheck {
    enum class Result { Valid, Invalid, NotACertificate };
    Result result = Result::NotACertificate;
    std::string number;   // decimal: the number it certifies (Valid, Invalid)
    std::string problem;  // NotACertificate: why the text is not one
};

// Checks a certificate in PARI's form. The text is read as data only: any
// character a certificate does not hold (letters among them, so no GP code
// can run) makes it NotACertificate.
CertificateCheck checkCertificate(const std::string& pariText);

}  // namespace pari_library
