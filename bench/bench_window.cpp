#include "bench/bench_window.h"

#include "archive/list_line.h"
#include "bench/bench_files.h"

#include <QCoreApplication>
#include <QListWidget>

#include <map>
#include <memory>
#include <stdexcept>

namespace pagelark::bench {

BenchWindow::BenchWindow() : window_(platform_)
{
    window_.show();
    settle();
}

BenchWindow::~BenchWindow() { window_.close(); }

void BenchWindow::open(const std::string& path)
{
    platform_.answerOpenWith(path);
    window_.SpeedButton1Click();
    if (!platform_.firstError().empty())
        throw std::runtime_error("opening " + path + ": " + platform_.firstError());
}

void BenchWindow::makeChunkCurrent(std::int32_t index)
{
    QListWidget& list = *window_.ListBox1;
    for (int row = 0; row < list.count(); ++row) {
        if (chunkIndexOfLine(list.item(row)->text().toStdString()) == index) {
            list.setCurrentRow(row);
            return;
        }
    }
    throw std::runtime_error("chunk " + std::to_string(index) + " is not in the list");
}

void BenchWindow::settle() { QCoreApplication::processEvents(); }

namespace {

std::map<std::string, std::unique_ptr<BenchWindow>>& sharedWindows()
{
    static std::map<std::string, std::unique_ptr<BenchWindow>> windows;
    return windows;
}

}  // namespace

BenchWindow& sharedWindow(const std::string& job)
{
    std::unique_ptr<BenchWindow>& window = sharedWindows()[job];
    if (!window) {
        window = std::make_unique<BenchWindow>();
        window->open(fullSizeVswapPath());
        BenchWindow::settle();
    }
    return *window;
}

void closeSharedWindows() { sharedWindows().clear(); }

}  // namespace pagelark::bench
