-- Code 4: an 80 KB page uploaded under the page name the run script claimed (ZR_PAGE), with
-- the session cookie of the demo account (ZR_COOKIE).
package.path = os.getenv("ZR_BENCH_DIR") .. "/?.lua;" .. package.path
local c = require("common")
local line = "<p class=\"line\">I love you more than yesterday, less than tomorrow.</p>\n"
local lines = {"<html><head><meta charset=\"GBK\"><title>bench</title></head><body>\n"}
local size = #lines[1]
while size < 80 * 1024 - 16 do
  lines[#lines + 1] = line
  size = size + #line
end
lines[#lines + 1] = "</body></html>\n"
local page = table.concat(lines)
c.post("zc=52&File=" .. c.ascii(os.getenv("ZR_PAGE")) .. "&data=" .. c.ascii(page))
done = c.done("upload-80KB")
