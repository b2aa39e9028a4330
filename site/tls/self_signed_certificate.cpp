#include "site/tls/self_signed_certificate.h"

#include <openssl/ec.h>
#include <openssl/x509v3.h>

namespace zendra {
namespace {

bool AddExtension(X509* certificate, int nid, const char* value) {
  X509V3_CTX context;
  X509V3_set_ctx_nodb(&context);
  X509V3_set_ctx(&context, certificate, certificate, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value);
  if (!extension) return false;
  const bool added = X509_add_ext(certificate, extension, -1) == 1;
  X509_EXTENSION_free(extension);
  return added;
}

}  // namespace

SelfSignedCertificate::SelfSignedCertificate() {
  key_.reset(EVP_EC_gen("prime256v1"));
  if (!key_) return;
  certificate_.reset(X509_new());
  X509* certificate = certificate_.get();
  if (!certificate) return;
  X509_set_version(certificate, 2);
  ASN1_INTEGER_set(X509_get_serialNumber(certificate), 1);
  X509_gmtime_adj(X509_getm_notBefore(certificate), -60);
  X509_gmtime_adj(X509_getm_notAfter(certificate), 60L * 60 * 24 * 365);
  X509_set_pubkey(certificate, key_.get());
  X509_NAME* name = X509_get_subject_name(certificate);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>("127.0.0.1"), -1, -1, 0);
  X509_set_issuer_name(certificate, name);
  const bool signedOk =
      AddExtension(certificate, NID_subject_alt_name, "IP:127.0.0.1,DNS:localhost") &&
      X509_sign(certificate, key_.get(), EVP_sha256()) > 0;
  if (!signedOk) certificate_.reset();
}

}  // namespace zendra
