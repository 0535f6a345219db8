-- Code 1: "select * from 系统设置", the query the client makes most often.
package.path = os.getenv("ZR_BENCH_DIR") .. "/?.lua;" .. package.path
local c = require("common")
c.post("zc=49&sql=" .. c.join({c.ascii("select * from "), c.SETTINGS_TABLE}))
done = c.done("settings-query")
