#include "server/curl_errors.h"

namespace vellix {
namespace {

// X509_V_ERR_* values; spelled out so this layer needs no TLS library headers.
constexpr long kUnableToGetIssuerCert = 2;
constexpr long kDepthZeroSelfSigned = 18;
constexpr long kSelfSignedInChain = 19;
constexpr long kUnableToGetIssuerLocally = 20;
constexpr long kUnableToVerifyLeaf = 21;
constexpr long kHostnameMismatch = 62;

int codeFor(CURLcode code, CertificateProblem problem) {
    namespace e = internet_error;
    switch (code) {
        case CURLE_OPERATION_TIMEDOUT:
            return e::kTimeout;
        case CURLE_UNSUPPORTED_PROTOCOL:
        case CURLE_URL_MALFORMAT:
            return e::kInvalidUrl;
        case CURLE_COULDNT_RESOLVE_HOST:
        case CURLE_COULDNT_RESOLVE_PROXY:
            return e::kNameNotResolved;
        case CURLE_COULDNT_CONNECT:
            return e::kCannotConnect;
        case CURLE_GOT_NOTHING:
        case CURLE_PARTIAL_FILE:
            return e::kConnectionAborted;
        case CURLE_SEND_ERROR:
        case CURLE_RECV_ERROR:
            return e::kConnectionReset;
        case CURLE_ABORTED_BY_CALLBACK:
            return e::kOperationCancelled;
        case CURLE_PEER_FAILED_VERIFICATION:
            switch (problem) {
                case CertificateProblem::UnknownAuthority:
                    return e::kInvalidCa;
                case CertificateProblem::NameMismatch:
                    return e::kCertNameInvalid;
                case CertificateProblem::None:
                    return e::kSecureFailure;
            }
            return e::kSecureFailure;
        case CURLE_SSL_CONNECT_ERROR:
        case CURLE_SSL_ENGINE_NOTFOUND:
        case CURLE_SSL_ENGINE_SETFAILED:
        case CURLE_SSL_CERTPROBLEM:
        case CURLE_SSL_CIPHER:
        case CURLE_SSL_CACERT_BADFILE:
        case CURLE_SSL_SHUTDOWN_FAILED:
        case CURLE_SSL_CRL_BADFILE:
        case CURLE_SSL_ISSUER_ERROR:
        case CURLE_SSL_PINNEDPUBKEYNOTMATCH:
        case CURLE_SSL_INVALIDCERTSTATUS:
        case CURLE_SSL_CLIENTCERT:
            return e::kSecureFailure;
        default:
            return e::kInternalError;
    }
}

}  // namespace

CertificateProblem certificateProblem(CURLcode code, long verifyResult) {
    if (code != CURLE_PEER_FAILED_VERIFICATION) return CertificateProblem::None;
    switch (verifyResult) {
        case kUnableToGetIssuerCert:
        case kDepthZeroSelfSigned:
        case kSelfSignedInChain:
        case kUnableToGetIssuerLocally:
        case kUnableToVerifyLeaf:
            return CertificateProblem::UnknownAuthority;
        case kHostnameMismatch:
        // The chain verified (0), so libcurl's own host-name check is what refused it.
        case 0:
            return CertificateProblem::NameMismatch;
        default:
            return CertificateProblem::None;
    }
}

InternetError internetErrorFor(CURLcode code, long verifyResult, const char* errorBuffer) {
    InternetError error;
    error.code = codeFor(code, certificateProblem(code, verifyResult));
    error.text = errorBuffer && *errorBuffer ? errorBuffer : curl_easy_strerror(code);
    return error;
}

}  // namespace vellix
