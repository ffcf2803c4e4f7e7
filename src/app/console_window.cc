#include "app/console_window.h"

#include <QApplication>
#include <QClipboard>
#include <QCloseEvent>
#include <QMessageBox>
#include <QMetaObject>
#include <QStringDecoder>
#include <cstdio>
#include <cstdlib>

#include "net/requesters.h"
#include "text/code_page.h"

namespace qf {
namespace {

constexpr std::chrono::seconds kStopGrace{5};

QString FromText(const Text& text) { return QString::fromStdString(ToUtf8(text)); }
Text ToText(const QString& text) { return FromUtf8(text.toStdString()); }

// WeChat's requests are UTF-8, which read as code page 936 would show its Chinese garbled; bytes
// that are not UTF-8 are shown as code page 936 text.
QString RequestAsShown(std::string_view bytes) {
  QStringDecoder utf8(QStringDecoder::Utf8);
  const QString text = utf8(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
  return utf8.hasError() ? FromText(Text(bytes)) : text;
}

QLabel* Label(QWidget* parent, const char* name, const char* text, int x, int y, int w, int h) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setGeometry(x, y, w, h);
  label->setAttribute(Qt::WA_TranslucentBackground);
  label->setAutoFillBackground(false);
  return label;
}

template <typename Box>
Box* Edit(QWidget* parent, const char* name, const char* text, int x, int y, int w, int h) {
  auto* box = new Box(parent);
  box->setObjectName(QString::fromUtf8(name));
  box->setGeometry(x, y, w, h);
  if constexpr (std::is_same_v<Box, QLineEdit>) {
    box->setText(QString::fromUtf8(text));
  } else {
    box->setPlainText(QString::fromUtf8(text));
  }
  return box;
}

QPushButton* Button(QWidget* parent, const char* name, const char* text, int x, int y, int w,
                    int h) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setGeometry(x, y, w, h);
  return button;
}

// An OK box with no icon and the toolkit's default title.
void Tell(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, QApplication::applicationName(), text, QMessageBox::Ok,
                  parent);
  box.exec();
}

}  // namespace

ConsoleWindow::ConsoleWindow(EndpointProgram& program, EndpointOptions options)
    : program_(program) {
  setObjectName("Quillfern");
  setWindowTitle("Quillfern");
  setGeometry(50, 50, 568, 361);

  Label(this, "透明标签1", "Token：", 24, 8, 48, 32);
  tokenBox_ = Edit<QLineEdit>(this, "编辑框_Token", "qfwxgz", 72, 8, 144, 32);
  Label(this, "透明标签5", "搜索词：", 224, 8, 48, 40);
  searchWordBox_ = Edit<QLineEdit>(this, "编辑框_搜索词", "搜", 280, 0, 80, 40);
  Label(this, "透明标签7", "填搜索词响应慢，容易出现错误", 368, 8, 176, 32)->setWordWrap(true);
  Label(this, "透明标签4", "关注回复：", 16, 48, 56, 32);
  welcomeBox_ = Edit<QPlainTextEdit>(this, "编辑框_关注回复", "欢迎关注！", 72, 56, 272, 64);
  connect(Button(this, "按钮2", "保存", 448, 80, 72, 40), &QPushButton::clicked, this,
          &ConsoleWindow::Save);
  Label(this, "透明标签6", "微信公众号后台URL", 8, 128, 112, 32);
  connect(Button(this, "按钮3", "复制URL", 128, 128, 96, 32), &QPushButton::clicked, this,
          &ConsoleWindow::CopyEndpointUrl);
  messageView_ = Edit<QLineEdit>(this, "编辑框1", "", 360, 128, 184, 48);
  requestView_ = Edit<QPlainTextEdit>(this, "编辑框3", "", 8, 192, 544, 136);
  requestView_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  serverState_ = Label(this, "服务器1", "", 8, 334, 544, 24);

  const Settings shown = program_.store().ShowStoredSettings();
  tokenBox_->setText(FromText(shown.token));
  welcomeBox_->setPlainText(FromText(shown.welcomeText));
  searchWordBox_->setText(FromText(shown.searchWord));

  const std::string address = options.listenAddress;
  const unsigned short port = options.port;
  endpoint_ = std::make_unique<Endpoint>(std::move(options), program_.Hooks(this, nullptr));
  if (const std::error_code error = endpoint_->Start()) {
    // Everything else keeps working; the operator sees why nothing arrives.
    serverState_->setText(QString::fromStdString("cannot listen on " + address + ":" +
                                                 std::to_string(port) + ": " + error.message()));
  } else {
    listening_ = true;
    serverState_->setText(QString::fromStdString("listening on " + address + ":" +
                                                 std::to_string(endpoint_->Port())));
  }
}

ConsoleWindow::~ConsoleWindow() {
  if (endpoint_ && !endpoint_->Stop(kStopGrace)) (void)endpoint_.release();  // still referred to
}

unsigned short ConsoleWindow::Port() const { return listening_ ? endpoint_->Port() : 0; }

void ConsoleWindow::Save() {
  program_.store().SaveSettings(ToText(tokenBox_->text()), ToText(welcomeBox_->toPlainText()),
                                ToText(searchWordBox_->text()));
  Tell(this, QString::fromUtf8("保存成功！"));
}

void ConsoleWindow::CopyEndpointUrl() {
  const Bytes body = ReadUrl(program_.Services().Get("public_ip") + "/dyndns/getip");
  QApplication::clipboard()->setText("http://" + QString::fromStdString(ToUtf8(body)));
  Tell(this, QString::fromUtf8("已复制URL"));
}

void ConsoleWindow::closeEvent(QCloseEvent* event) {
  // Closing the window ends the program.
  if (endpoint_ && !endpoint_->Stop(kStopGrace)) {
    // A worker is still busy past the grace and refers to this window: leave without waiting.
    std::fputs("quillfern: stopped with requests unanswered\n", stderr);
    std::fflush(stderr);
    std::_Exit(0);
  }
  endpoint_.reset();
  event->accept();
}

void ConsoleWindow::OnRawRequest(std::string_view requestBytes) {
  const QString text = RequestAsShown(requestBytes);
  QMetaObject::invokeMethod(
      this, [this, text] { requestView_->setPlainText(text); }, Qt::QueuedConnection);
}

void ConsoleWindow::OnMessage(const Text& content) {
  const QString text = FromText(content);
  QMetaObject::invokeMethod(
      this, [this, text] { messageView_->setText(text); }, Qt::QueuedConnection);
}

}  // namespace qf
