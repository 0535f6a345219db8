-- GET /love/<name>: the published page as a visitor's browser fetches it.
package.path = os.getenv("ZR_BENCH_DIR") .. "/?.lua;" .. package.path
local c = require("common")
wrk.method = "GET"
wrk.path = "/love/" .. os.getenv("ZR_PAGE")
done = c.done("page-get")
