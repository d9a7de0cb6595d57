// An application object for the duration of a call.
//
// The Qt libraries are entered from programs that may not use Qt at all (a
// plain C program calling DoZvEncoder, a web-page editor calling the Edit
// entry). Widgets need a QApplication; when the caller has none, the entry
// makes one on its own thread for the call and ends it afterwards. When the
// caller already has one, it is used and left alone.
#ifndef ZV_PLATFORM_QT_SCOPED_QAPPLICATION_H
#define ZV_PLATFORM_QT_SCOPED_QAPPLICATION_H

#include <memory>

class QApplication;

namespace zv {

class ScopedQApplication {
 public:
  // Makes a QApplication when no application object exists. When a
  // QCoreApplication or QGuiApplication that is not a QApplication exists,
  // none can be made (Qt allows one per process): widgets() is then false.
  ScopedQApplication();
  // Ends the application object this instance made, if any.
  ~ScopedQApplication();

  ScopedQApplication(const ScopedQApplication&) = delete;
  ScopedQApplication& operator=(const ScopedQApplication&) = delete;

  // True when a QApplication is running (the caller's or ours), so widgets
  // can be shown.
  bool widgets() const;
  // True when this instance made the application object.
  bool ownsApplication() const { return owned_ != nullptr; }

 private:
  std::unique_ptr<QApplication> owned_;
};

// Same as constructing a ScopedQApplication: the returned object keeps the
// application made for the caller (if one had to be made) until it is
// destroyed.
[[nodiscard]] std::unique_ptr<ScopedQApplication> ensureQApplication();

}  // namespace zv

#endif  // ZV_PLATFORM_QT_SCOPED_QAPPLICATION_H
