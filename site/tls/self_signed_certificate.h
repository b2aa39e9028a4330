#pragma once

#include <openssl/evp.h>
#include <openssl/x509.h>

#include <memory>
#include <string>

namespace zendra {

// A key and a self-signed certificate for 127.0.0.1 and localhost, made at run time so
// that no certificate is ever committed or downloaded.
class SelfSignedCertificate {
 public:
  SelfSignedCertificate();

  bool IsValid() const noexcept { return key_ && certificate_; }
  EVP_PKEY* Key() const noexcept { return key_.get(); }
  X509* Certificate() const noexcept { return certificate_.get(); }

 private:
  struct KeyDeleter {
    void operator()(EVP_PKEY* key) const noexcept { EVP_PKEY_free(key); }
  };
  struct CertificateDeleter {
    void operator()(X509* certificate) const noexcept { X509_free(certificate); }
  };
  std::unique_ptr<EVP_PKEY, KeyDeleter> key_;
  std::unique_ptr<X509, CertificateDeleter> certificate_;
};

}  // namespace zendra
