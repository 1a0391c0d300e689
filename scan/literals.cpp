#include "scan/literals.h"

#include "scan/memory.h"

namespace lanhosts {

const ProgramLiterals kLiterals = {
    "",
    "\\",
    "正在读取局域网内主机列表...",
    "读取成功，共用",
    "个主机列表",
    "获取失败",
    "错误",
    "运行时出错!\r\n\r\n",
    "错误代码：",
    "错误信息：",
    "\r\n",
    "数组成员引用下标超出定义范围",
    "数组成员引用下标必须大于等于1",
    "分配 %d 字节内存失败!",
    "指定窗口或窗口组件不存在或尚未载入",
    "载入启动窗口失败",
    "载入窗口模板数据段出错!",
    "局域网内的所有计算机名、IP、网卡地址   制作：dulmo",
    "计算机名称",
    "IP",
    "网卡地址",
    "免费软件发布平台",
    "Microsoft Internet Explorer",
    "open",
};

void RegisterProgramLiterals() {
    RegisterConstantData(&kLiterals, static_cast<std::int32_t>(sizeof kLiterals));
}

}  // namespace lanhosts
