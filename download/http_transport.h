// The narrow view of WinINet the download worker needs, so that its bookkeeping can run
// against a scripted transport off Windows. Closing a handle is destroying its object.
#pragma once
#include <cstdint>
#include <memory>
#include <string>

// The text headers the worker reads, numbered as WinINet's HTTP_QUERY_* values.
enum class HttpHeader : uint32_t {
  Location = 33,     // HTTP_QUERY_LOCATION
  ContentRange = 53, // HTTP_QUERY_CONTENT_RANGE, e.g. "bytes 100-199/200"
};

class HttpRequest {
public:
  virtual ~HttpRequest() = default;
  // HTTP_QUERY_CONTENT_LENGTH as a number; false when the server sent none.
  virtual bool QueryContentLength(uint32_t *length) = 0;
  // HTTP_QUERY_STATUS_CODE as a number.
  virtual bool QueryStatusCode(uint32_t *status) = 0;
  // The raw header; false when the server sent none.
  virtual bool QueryHeader(HttpHeader header, std::string *value) = 0;
  // After a 407: the system's own credentials dialog, owned by owner (a window). True when the
  // user gave credentials, which the session then sends; never without an owner.
  virtual bool AskCredentials(void *) { return false; }
  // What has arrived, at most size bytes, waiting until something has; *read is 0 at the end
  // of the response. *data points into a buffer of the request's own, valid until its next
  // call: a read given up may still be filling it. False when the read fails or is given up
  // (a cancelled batch).
  virtual bool Read(const uint8_t **data, uint32_t size, uint32_t *read) = 0;
};

// One internet handle for a whole batch.
class HttpSession {
public:
  virtual ~HttpSession() = default;
  // InternetOpenUrlA with reload, no-cache, no cache write and no automatic redirect; headers
  // is empty or "Name: value\r\n" lines. Null, with the system's error in *error, when the URL
  // cannot be opened (or the open is given up: a cancelled batch, or no answer in time).
  virtual std::unique_ptr<HttpRequest> OpenUrl(const std::string &url, const std::string &headers,
                                               uint32_t *error) = 0;
};
