// The console window on Qt's offscreen platform: its controls, Save, Copy URL against a loopback
// stand-in, the views fed from the endpoint's threads, and a port that cannot be opened.
#include "app/console_window.h"

#include <QApplication>
#include <QClipboard>
#include <QMessageBox>
#include <QTimer>
#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>
#include <unistd.h>

#include "app/private_profile.h"
#include "fakes/fake_http_server.h"
#include "support/gbk.h"
#include "support/raw_client.h"

namespace qf {
namespace {

using testing::Gbk;

// Waits (bounded) for a message box, notes its text and closes it with OK.
void AnswerNextMessageBox(QString* text, QMessageBox::Icon* icon) {
  auto* timer = new QTimer;
  auto tries = std::make_shared<int>(0);
  QObject::connect(timer, &QTimer::timeout, [=] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      *text = box->text();
      *icon = box->icon();
      box->button(QMessageBox::Ok)->click();
    } else if (++*tries < 200) {
      return;
    }
    timer->stop();
    timer->deleteLater();
  });
  timer->start(10);
}

// Runs the event loop until `done` holds, for at most two seconds.
template <typename Condition>
bool ProcessUntil(Condition done) {
  for (int i = 0; i < 200 && !done(); ++i) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    usleep(10000);
  }
  return done();
}

class ConsoleWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    path_ = (std::filesystem::temp_directory_path() /
             ("qf-window-" + std::to_string(getpid()) + ".ini"))
                .string();
    std::ofstream(path_, std::ios::binary)
        << "[setting]\r\nToken=stored\r\n"
        << Gbk("关注回复") << "=" << Gbk("你好") << "\r\n"
        << Gbk("搜索词") << "=&#25628;\r\n[services]\r\npublic_ip=" << lookup_.Url("") << "\r\n";
    program_ = std::make_unique<EndpointProgram>(path_);
  }
  void TearDown() override { std::filesystem::remove(path_); }

  template <typename T>
  T* Find(const char* name) {
    return window_->findChild<T*>(QString::fromUtf8(name));
  }
  void Open(unsigned short port = 0) {
    window_ = std::make_unique<ConsoleWindow>(*program_, EndpointOptions{"127.0.0.1", port, 4});
  }

  testing::FakeHttpServer lookup_;
  std::string path_;
  std::unique_ptr<EndpointProgram> program_;
  std::unique_ptr<ConsoleWindow> window_;
};

TEST_F(ConsoleWindowTest, ControlsSitWhereTheFormSaysAndShowTheStoredSettings) {
  Open();
  EXPECT_EQ(window_->windowTitle(), "Quillfern");
  EXPECT_EQ(window_->geometry(), QRect(50, 50, 568, 361));
  const struct {
    const char* name;
    QRect place;
    const char* text;
  } labels[] = {
      {"透明标签1", {24, 8, 48, 32}, "Token："},
      {"透明标签5", {224, 8, 48, 40}, "搜索词："},
      {"透明标签7", {368, 8, 176, 32}, "填搜索词响应慢，容易出现错误"},
      {"透明标签4", {16, 48, 56, 32}, "关注回复："},
      {"透明标签6", {8, 128, 112, 32}, "微信公众号后台URL"},
  };
  for (const auto& l : labels) {
    auto* label = Find<QLabel>(l.name);
    ASSERT_NE(label, nullptr) << l.name;
    EXPECT_EQ(label->geometry(), l.place) << l.name;
    EXPECT_EQ(label->text(), QString::fromUtf8(l.text)) << l.name;
    EXPECT_TRUE(label->testAttribute(Qt::WA_TranslucentBackground)) << l.name;
  }
  EXPECT_EQ(Find<QPushButton>("按钮2")->geometry(), QRect(448, 80, 72, 40));
  EXPECT_EQ(Find<QPushButton>("按钮2")->text(), QString::fromUtf8("保存"));
  EXPECT_EQ(Find<QPushButton>("按钮3")->geometry(), QRect(128, 128, 96, 32));
  EXPECT_EQ(Find<QPushButton>("按钮3")->text(), QString::fromUtf8("复制URL"));
  EXPECT_EQ(Find<QLineEdit>("编辑框_Token")->geometry(), QRect(72, 8, 144, 32));
  EXPECT_EQ(Find<QLineEdit>("编辑框_搜索词")->geometry(), QRect(280, 0, 80, 40));
  EXPECT_EQ(Find<QPlainTextEdit>("编辑框_关注回复")->geometry(), QRect(72, 56, 272, 64));
  EXPECT_EQ(Find<QLineEdit>("编辑框1")->geometry(), QRect(360, 128, 184, 48));
  EXPECT_EQ(Find<QPlainTextEdit>("编辑框3")->geometry(), QRect(8, 192, 544, 136));
  // The stored values replace the form texts; the search word is shown decoded.
  EXPECT_EQ(Find<QLineEdit>("编辑框_Token")->text(), "stored");
  EXPECT_EQ(Find<QPlainTextEdit>("编辑框_关注回复")->toPlainText(), QString::fromUtf8("你好"));
  EXPECT_EQ(Find<QLineEdit>("编辑框_搜索词")->text(), QString::fromUtf8("搜"));
  EXPECT_GT(window_->Port(), 0);
}

TEST_F(ConsoleWindowTest, SaveWritesTheThreeKeysAndSaysSo) {
  Open();
  Find<QLineEdit>("编辑框_Token")->setText("newtok");
  Find<QPlainTextEdit>("编辑框_关注回复")->setPlainText(QString::fromUtf8("欢迎光临"));
  Find<QLineEdit>("编辑框_搜索词")->setText(QString::fromUtf8("找"));
  QString shown;
  QMessageBox::Icon icon = QMessageBox::Critical;
  AnswerNextMessageBox(&shown, &icon);
  Find<QPushButton>("按钮2")->click();
  EXPECT_EQ(shown, QString::fromUtf8("保存成功！"));
  EXPECT_EQ(icon, QMessageBox::NoIcon);
  EXPECT_EQ(ReadProfileString(path_, "setting", "Token"), "newtok");
  EXPECT_EQ(ReadProfileString(path_, "setting", Gbk("关注回复")), Gbk("欢迎光临"));
  EXPECT_EQ(ReadProfileString(path_, "setting", Gbk("搜索词")), "&#25214");
  EXPECT_NE(ReadProfileString(path_, "services", "public_ip"), "");  // other lines kept
}

TEST_F(ConsoleWindowTest, CopyUrlPutsTheAddressOnTheClipboard) {
  lookup_.On("/dyndns/getip", testing::HttpResponse("HTTP/1.1 200 OK", {}, "203.0.113.7"));
  Open();
  QString shown;
  QMessageBox::Icon icon;
  AnswerNextMessageBox(&shown, &icon);
  Find<QPushButton>("按钮3")->click();
  EXPECT_EQ(QApplication::clipboard()->text(), "http://203.0.113.7");
  EXPECT_EQ(shown, QString::fromUtf8("已复制URL"));
}

TEST_F(ConsoleWindowTest, CopyUrlWithTheLookupDownGivesTheSchemeAlone) {
  WriteProfileString(path_, "services", "public_ip", "http://127.0.0.1:1");
  program_->Reload();
  Open();
  QString shown;
  QMessageBox::Icon icon;
  AnswerNextMessageBox(&shown, &icon);
  Find<QPushButton>("按钮3")->click();
  EXPECT_EQ(QApplication::clipboard()->text(), "http://");
  EXPECT_EQ(shown, QString::fromUtf8("已复制URL"));
}

TEST_F(ConsoleWindowTest, ViewsShowTheLastRequestAndMessage) {
  Open();
  for (const char* event : {"unsubscribe", "subscribe"}) {
    testing::Client client(window_->Port());
    client.Send(testing::Post("event", "", event));
    client.ReadToClose();
  }
  auto* messageView = Find<QLineEdit>("编辑框1");
  auto* requestView = Find<QPlainTextEdit>("编辑框3");
  EXPECT_TRUE(ProcessUntil([&] { return messageView->text() == "subscribe"; }));
  EXPECT_TRUE(requestView->toPlainText().contains("<Event><![CDATA[subscribe]]></Event>"));

  // WeChat's UTF-8 reads as it was written; bytes that are not UTF-8 read as code page 936.
  const std::pair<std::string, const char*> requests[] = {
      {testing::Post("event", "", "你好"), "<Event><![CDATA[你好]]></Event>"},
      {testing::Post("event", "", Gbk("再见")), "<Event><![CDATA[再见]]></Event>"},
  };
  for (const auto& [request, shown] : requests) {
    testing::Client client(window_->Port());
    client.Send(request);
    client.ReadToClose();
    EXPECT_TRUE(ProcessUntil([&] {
      return requestView->toPlainText().contains(QString::fromUtf8(shown));
    })) << shown;
  }
}

TEST_F(ConsoleWindowTest, ClosingTheWindowStopsTheEndpoint) {
  Open();
  const unsigned short port = window_->Port();
  EXPECT_TRUE(testing::Client(port).connected());
  window_->show();
  window_->close();
  EXPECT_FALSE(testing::Client(port).connected());
}

TEST_F(ConsoleWindowTest, APortThatCannotBeOpenedIsShownInTheWindow) {
  Open();
  const unsigned short busy = window_->Port();
  auto second = std::make_unique<ConsoleWindow>(*program_, EndpointOptions{"127.0.0.1", busy, 4});
  EXPECT_EQ(second->Port(), 0);
  const QString state = second->findChild<QLabel*>(QString::fromUtf8("服务器1"))->text();
  EXPECT_TRUE(state.startsWith("cannot listen on 127.0.0.1:" + QString::number(busy)))
      << state.toStdString();
  // The rest keeps working.
  QString shown;
  QMessageBox::Icon icon;
  AnswerNextMessageBox(&shown, &icon);
  second->findChild<QPushButton*>(QString::fromUtf8("按钮2"))->click();
  EXPECT_EQ(shown, QString::fromUtf8("保存成功！"));
}

}  // namespace
}  // namespace qf

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication application(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
