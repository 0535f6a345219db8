-- One kind of request of the soak run, chosen by ZR_SOAK_KIND: "settings" (the settings
-- query), "signin" (the sign-in lookup of the demo account), "upload" (an 80 KB page under
-- ZR_PAGE with the session cookie ZR_COOKIE) or "page" (GET /love/ZR_PAGE). Every answer is
-- looked at: a status outside 2xx counts as non-2xx, a 2xx answer that is not the expected one
-- (settings rows, the account's row, "OK", the uploaded page byte for byte) as wrong. done()
-- prints one line:
--   SOAK kind requests non-2xx wrong connect read write timeout p50-ms p99-ms
package.path = os.getenv("ZR_BENCH_DIR") .. "/?.lua;" .. package.path
local c = require("common")
local kind = os.getenv("ZR_SOAK_KIND")
local page_name = os.getenv("ZR_PAGE")

-- The same page as upload.lua: ASCII, so its bytes on the wire and in the store are the text.
local function page_text()
  local line = "<p class=\"line\">I love you more than yesterday, less than tomorrow.</p>\n"
  local lines = {"<html><head><meta charset=\"GBK\"><title>bench</title></head><body>\n"}
  local size = #lines[1]
  while size < 80 * 1024 - 16 do
    lines[#lines + 1] = line
    size = size + #line
  end
  lines[#lines + 1] = "</body></html>\n"
  return table.concat(lines)
end

-- "いゼ" in code page 936: what every query reply with a row starts with.
local ROW_START = "\164\164\165\188"

local expected
if kind == "settings" then
  c.post("zc=49&sql=" .. c.join({c.ascii("select * from "), c.SETTINGS_TABLE}))
  expected = function(body) return string.sub(body, 1, 4) == ROW_START and #body > 4 end
elseif kind == "signin" then
  c.post("zc=49&sql=" .. c.join({
    c.ascii("Select * from "), c.USER_TABLE, c.ascii(" where "), c.USER,
    c.ascii("='88888888' and "), c.PASSWORD, c.ascii("='zenri520'")}))
  expected = function(body)
    return string.sub(body, 1, 12) == ROW_START .. "88888888"
  end
elseif kind == "upload" then
  c.post("zc=52&File=" .. c.ascii(page_name) .. "&data=" .. c.ascii(page_text()))
  expected = function(body) return body == "OK" end
elseif kind == "page" then
  local page = page_text()
  wrk.method = "GET"
  wrk.path = "/love/" .. page_name
  expected = function(body) return body == page end
else
  error("ZR_SOAK_KIND must be settings, signin, upload or page")
end

local threads = {}
function setup(thread)
  threads[#threads + 1] = thread
end

function init(args)
  non2xx = 0
  wrong = 0
end

function response(status, headers, body)
  if status < 200 or status > 299 then
    non2xx = non2xx + 1
  elseif not expected(body) then
    wrong = wrong + 1
  end
end

function done(summary, latency, requests)
  local non, bad = 0, 0
  for _, thread in ipairs(threads) do
    non = non + thread:get("non2xx")
    bad = bad + thread:get("wrong")
  end
  local e = summary.errors
  io.write(string.format("SOAK %s %d %d %d %d %d %d %d %.2f %.2f\n", kind, summary.requests,
    non, bad, e.connect, e.read, e.write, e.timeout, latency:percentile(50) / 1000,
    latency:percentile(99) / 1000))
end
