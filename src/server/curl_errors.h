#pragma once
// How libcurl's outcomes read as the internet error numbers of the diagnostics, and which
// certificate failures earn the one retry without verification.

#include <curl/curl.h>

#include <string>

#include "server/internet_session.h"

namespace vellix {

enum class CertificateProblem {
    None,              // not a certificate failure that the retry covers
    UnknownAuthority,  // self-signed, or no trusted issuer
    NameMismatch,      // the certificate names another host
};

// `verifyResult` is CURLINFO_SSL_VERIFYRESULT (an X509_V_ERR_* code) after the failure.
CertificateProblem certificateProblem(CURLcode code, long verifyResult);

// `errorBuffer` is the transfer's CURLOPT_ERRORBUFFER; libcurl's generic text when empty.
InternetError internetErrorFor(CURLcode code, long verifyResult, const char* errorBuffer);

}  // namespace vellix
