#pragma once
// The columns of the two tables that travel by position: the one row of 系统设置 and the rows
// of 用户管理 as "select *" gives them. The client reads replies by these positions, the
// service builds them by these positions, so both name them here.

namespace columns {

// 系统设置
enum Settings : int {
    kSettingsId = 0,   // 编号, always 1
    kSiteName,         // 站点名称
    kServiceState,     // 服务状态: "开放" lets users sign in
    kAnnouncement,     // 公告
    kNewestVersion,    // 最新版本
    kDownloadAddress,  // 下载地址
    kSettingsCount
};

// 用户管理
enum User : int {
    kUser = 0,      // 用户, the QQ number
    kPassword,      // 密码
    kPhone,         // 手机
    kRegisteredAt,  // 注册时间
    kOnline,        // 是否在线
    kLastSignInAt,  // 上次登陆时间
    kPageName,      // 文件名
    kPageStyle,     // 页面风格
    kUploadedAt,    // 上传时间
    kSignInCount,   // 登陆次数
    kUploadCount,   // 上传次数
    kRemark,        // 备注
    kFrozen,        // 是否冻结: "True" or "False" in a reply
    kUserCount
};

}  // namespace columns
