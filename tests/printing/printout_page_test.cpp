// The print window driven headless: the stored text-output choice, the
// title box, a report into a text file with its folder settings, a
// cancelled file choice, and a report that cannot be closed away.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "core/modpublic.h"
#include "core/settingkeys.h"
#include "platform/gui/filedialogs.h"
#include "printing/engine.h"
#include "printing/pages/frmprintout.h"
#include "printtest.h"
#include "support/testsupport.h"

namespace {
class PrintPage : public ::testing::Test {
 protected:
  void SetUp() override {
    freshModel(dir);
    ASSERT_TRUE(printtest::radioF0(1, 1));
    setFileDialogHook([this](const FileDialogRequest& r) {
      asked.push_back(r);
      return answer;
    });
  }
  void TearDown() override {
    setFileDialogHook(nullptr);
    page.reset();
  }
  void open() {
    page = std::make_unique<FrmPrintOut>();
    page->Show();
    page->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(page.get()));
  }
  std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  }
  TempDir dir;
  RecordingMessages msgs;
  std::unique_ptr<FrmPrintOut> page;
  std::vector<FileDialogRequest> asked;
  std::string answer;
};
}  // namespace

TEST_F(PrintPage, TextReportWithTitleSavesItsFolderAndCannotBeClosedMeanwhile) {
  saveSetting(keys::OutPutText, "1");
  open();
  EXPECT_TRUE(page->chkOutText->isChecked());
  EXPECT_FALSE(page->comPrinter->isEnabled());
  EXPECT_FALSE(page->txtPrintTitleName->isEnabled());
  EXPECT_FALSE(page->lblMessage->isVisible());

  page->comTitleName->click();
  EXPECT_TRUE(page->txtPrintTitleName->isEnabled());
  QTest::keyClicks(page->txtPrintTitleName, "Shop 7");
  QTest::keyClick(page->txtPrintTitleName, Qt::Key_Return);
  EXPECT_FALSE(page->txtPrintTitleName->isEnabled());
  EXPECT_EQ(modPublic.strPrintTitle, "Shop 7");

  answer = dir.file("job 1.txt");
  const auto imageBefore = modPublic.bytRadioData;
  int yields = 0;
  printing::setYield([&] {
    if (yields++ == 0) {
      // Closing the window and switching the medium wait for the report.
      page->close();
      EXPECT_TRUE(page->isLoaded());
      EXPECT_FALSE(page->chkOutText->isEnabled());
      EXPECT_FALSE(page->comExit->isEnabled());
      EXPECT_TRUE(page->printing());
    }
  });
  page->comPrintStart[1]->click();
  EXPECT_GT(yields, 100);
  EXPECT_TRUE(modPublic.blnResult);
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_TRUE(asked[0].save);
  EXPECT_EQ(asked[0].title, "velmora-File Save");
  EXPECT_EQ(asked[0].filter, "Text(*.txt)|*.txt");
  const std::string text = fileText(answer);
  EXPECT_NE(text.find("Version 1.00  << Shop 7 >>\r\n"), std::string::npos);
  EXPECT_NE(text.find("< Channel Name >"), std::string::npos);
  EXPECT_EQ(modPublic.bytRadioData, imageBefore);
  EXPECT_EQ(readSetting(keys::PrinterDirectory), dir.str() + "/");
  EXPECT_EQ(readSetting(keys::PrinterDrive), "/");
  // Ready again: every button, the printer set-up too, although the box is ticked.
  EXPECT_TRUE(page->comPrinter->isEnabled());
  EXPECT_TRUE(page->chkOutText->isEnabled());
  EXPECT_FALSE(page->lblMessage->isVisible());
  EXPECT_TRUE(page->isLoaded());

  // A print button pressed without taking the focus from the open title box
  // (as a screen reader presses it) still prints the whole title.
  page->comTitleName->click();
  page->txtPrintTitleName->clear();
  QTest::keyClicks(page->txtPrintTitleName, "Shop 8");
  answer = dir.file("job 2.txt");
  page->comPrintStart[0]->click();
  EXPECT_NE(fileText(answer).find("Version 1.00  << Shop 8 >>\r\n"), std::string::npos);
  EXPECT_EQ(modPublic.strPrintTitle, "Shop 8");
  EXPECT_FALSE(page->txtPrintTitleName->isEnabled());

  // A cancelled file choice prints nothing and keeps the stored folder.
  saveSetting(keys::PrinterDirectory, "/kept/");
  answer.clear();
  page->comPrintStart[0]->click();
  EXPECT_EQ(asked.size(), 3u);
  EXPECT_EQ(asked[2].folder, "/kept/");
  EXPECT_EQ(readSetting(keys::PrinterDirectory), "/kept/");
  EXPECT_TRUE(page->comPrintStart[0]->isEnabled());

  // Unticking the box stores the choice and offers the printer set-up.
  page->chkOutText->click();
  EXPECT_EQ(readSetting(keys::OutPutText), "0");
  EXPECT_TRUE(page->comPrinter->isEnabled());
  // Leaving the page with the title box open keeps the whole title too.
  page->comTitleName->click();
  QTest::keyClicks(page->txtPrintTitleName, "9");
  page->comExit->click();
  EXPECT_FALSE(page->isLoaded());
  EXPECT_EQ(modPublic.strPrintTitle, "Shop 89");
  printing::setYield(nullptr);
}

TEST_F(PrintPage, WithoutAFamilyThePrintButtonsOnlyGoBusyAndBack) {
  modPublic.strRadioFamily = "9";
  modPublic.blnResult = true;
  open();
  page->comPrintStart[0]->click();
  page->comPrintStart[1]->click();
  EXPECT_TRUE(modPublic.blnResult);
  EXPECT_TRUE(asked.empty());
  EXPECT_TRUE(msgs.boxes.empty());
  EXPECT_TRUE(page->comPrintStart[1]->isEnabled());
}

TEST_F(PrintPage, ThePrinterSetUpRefusesAPipeAndKeepsALinkToTheFileItLeadsTo) {
  saveSetting(keys::OutPutText, "0");
  open();
  QPrinter& printer = FrmPrintOut::printer();
  printer.setOutputFormat(QPrinter::PdfFormat);
  // Names typed without a folder: the home and the working folder are the test's own.
  struct Place {
    QByteArray home = qgetenv("HOME");
    std::filesystem::path cwd = std::filesystem::current_path();
    ~Place() {
      qputenv("HOME", home);
      std::filesystem::current_path(cwd);
    }
  } place;
  const std::string home = dir.file("home");
  const std::string work = dir.file("home/work");
  std::filesystem::create_directories(work);
  qputenv("HOME", home.c_str());
  std::filesystem::current_path(work);

  // The pipe is kept open for reading, so the dialog's own check, which opens
  // the file, cannot wait on it: without a refusal the pipe is taken.
  const std::string pipe = dir.file("report.pdf");
  ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
  const int reader = ::open(pipe.c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(reader, 0);
  ASSERT_EQ(::mkfifo((work + "/bare.pdf").c_str(), 0600), 0);
  const int bareReader = ::open((work + "/bare.pdf").c_str(), O_RDONLY | O_NONBLOCK);
  ASSERT_GE(bareReader, 0);
  // A dangling link: the dialog's check created its target and removed the link.
  const std::string link = dir.file("link.pdf");
  const std::string target = dir.file("target.pdf");
  std::filesystem::create_symlink("target.pdf", link);
  std::filesystem::create_symlink("bare-target.pdf", work + "/bare-link.pdf");

  std::string question;
  auto setUp = [&](const std::string& name, bool refusedThere, const char* fieldCheck = nullptr) {
    printer.setOutputFileName(QString::fromStdString(name));
    bool acted = false;
    question.clear();
    QTimer::singleShot(0, [&] {
      auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
      ASSERT_NE(dialog, nullptr);
      if (fieldCheck) page->guardOutputFile(*qobject_cast<QPrintDialog*>(dialog), fieldCheck);
      auto* file = dialog->findChild<QLineEdit*>("filename");
      ASSERT_NE(file, nullptr);
      ASSERT_TRUE(file->isEnabled());
      file->setText(QString::fromStdString(name));
      const size_t before = msgs.boxes.size();
      // A question of the dialog's own (the file "already exists") is answered No.
      QTimer::singleShot(200, dialog, [dialog, &question] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()); box && box != dialog) {
          question = box->text().toStdString();
          box->close();
        }
      });
      dialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      acted = true;
      EXPECT_EQ(dialog->isVisible(), refusedThere || !question.empty()) << name;
      EXPECT_EQ(msgs.boxes.size(), before + (refusedThere ? 1 : 0)) << name;
      if (dialog->isVisible()) dialog->reject();
    });
    page->comPrinter->click();
    EXPECT_TRUE(acted);
  };
  auto said = [&](const char* text) {
    return !msgs.boxes.empty() && msgs.boxes.back().text.find(text) != std::string::npos;
  };
  printer.setOutputFileName("");
  setUp(pipe, true);
  EXPECT_TRUE(said("This is no file a PDF can be written into"));
  setUp(link, false);
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  EXPECT_FALSE(std::filesystem::exists(target));
  EXPECT_EQ(printer.outputFileName().toStdString(), target);

  // Started inside the home folder, a name without a folder is one in the
  // working folder, where the set-up's own first name is; started elsewhere,
  // it is one in the home folder. The refusal, the link, the dialog's
  // overwrite question and the PDF all take it there.
  setUp("bare.pdf", true);
  EXPECT_TRUE(said("This is no file a PDF can be written into"));
  setUp("bare-link.pdf", false);
  EXPECT_TRUE(std::filesystem::is_symlink(work + "/bare-link.pdf"));
  EXPECT_EQ(printer.outputFileName().toStdString(), work + "/bare-target.pdf");
  std::filesystem::current_path(dir.path());
  writeFileBytes(home + "/bare.pdf", {'%'});
  setUp("bare.pdf", false);
  EXPECT_NE(question.find(home + "/bare.pdf"), std::string::npos) << question;
  EXPECT_EQ(readFileBytes(home + "/bare.pdf"), std::vector<uint8_t>{'%'});

  // A Qt without the dialog's own check says so instead of doing nothing.
  setUp(pipe + "-new", true, "noSuchCheck");
  EXPECT_TRUE(said("The printer set-up cannot take this choice"));
  ::close(reader);
  ::close(bareReader);
}
