// The console window: the three settings boxes with Save, the endpoint URL copy, the two views of
// the last request and message, and the endpoint it owns. Creating it starts the endpoint;
// closing it stops the endpoint (requests in progress get up to five seconds).
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QWidget>
#include <memory>

#include "app/endpoint_program.h"
#include "callback/endpoint.h"

namespace qf {

class ConsoleWindow : public QWidget, private EndpointEvents {
  Q_OBJECT

 public:
  ConsoleWindow(EndpointProgram& program, EndpointOptions options);
  ~ConsoleWindow() override;

  // The endpoint's port, 0 when it could not be opened.
  unsigned short Port() const;

 public slots:
  void Save();
  void CopyEndpointUrl();

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  // Any thread: the views are set on the window thread.
  void OnRawRequest(std::string_view requestBytes) override;
  void OnMessage(const Text& content) override;

  EndpointProgram& program_;
  // The controls, found by tests under their object names (编辑框_Token, ...).
  QLineEdit* tokenBox_;
  QLineEdit* searchWordBox_;
  QPlainTextEdit* welcomeBox_;
  QLineEdit* messageView_;
  QPlainTextEdit* requestView_;
  QLabel* serverState_;
  std::unique_ptr<Endpoint> endpoint_;
  bool listening_ = false;
};

}  // namespace qf
