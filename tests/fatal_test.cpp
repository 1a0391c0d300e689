#include <gtest/gtest.h>

#include <string>

#include "app/fatal.h"
#include "scan/literals.h"
#include "tests/test_support.h"

namespace lanhosts {
namespace {

using test::CatchFatal;
using test::FatalStop;
using test::Hex;

FatalStop Catch(void (*raise)()) {
    try {
        raise();
    } catch (const FatalStop& stop) {
        return stop;
    }
    ADD_FAILURE() << "the report returned";
    return {};
}

TEST(FatalReport, TextsByteForByte) {
    CatchFatal fatal;
    struct Case {
        void (*raise)();
        std::string text;
    } cases[] = {
        {[] { RaiseRuntimeError(1); },
         "运行时出错!\r\n\r\n错误代码：1\r\n\r\n错误信息：数组成员引用下标超出定义范围\r\n"},
        {[] { RaiseRuntimeError(4); },
         "运行时出错!\r\n\r\n错误代码：4\r\n\r\n错误信息：数组成员引用下标必须大于等于1\r\n"},
        {[] { ReportAllocationFailure(1024); }, "运行时出错!\r\n\r\n错误信息：分配 1024 字节内存失败!\r\n"},
        {[] { ReportAllocationFailure(-7); }, "运行时出错!\r\n\r\n错误信息：分配 -7 字节内存失败!\r\n"},
        {[] { ReportFatalError(kLiterals.controlNotLoaded, 0); },
         "运行时出错!\r\n\r\n错误信息：指定窗口或窗口组件不存在或尚未载入\r\n"},
        {[] { ReportFatalError("", 0); }, "运行时出错!\r\n\r\n"},
        {[] { ReportFatalError(nullptr, -12); }, "运行时出错!\r\n\r\n错误代码：-12\r\n\r\n"},
    };
    for (const Case& c : cases) {
        FatalStop stop = Catch(c.raise);
        EXPECT_EQ(Hex(stop.text), Hex(c.text));
        EXPECT_EQ(Hex(stop.caption), "b4 ed ce f3");  // 错误
        EXPECT_EQ(stop.style, 0x10u);
        EXPECT_EQ(stop.status, -1);
    }
    EXPECT_EQ(fatal.boxes(), 7);
    EXPECT_EQ(fatal.endRoutineClears(), 7);
}

TEST(FatalReport, LongMessagesAreCutNotOverrun) {
    std::string huge(5000, 'x');
    char out[64];
    out[63] = '\x7f';
    BuildFatalReportText(huge.c_str(), 1, out, 63);
    EXPECT_EQ(std::string(out).size(), 62u);
    EXPECT_EQ(out[63], '\x7f');
}

}  // namespace
}  // namespace lanhosts
