-- Shared by the load scripts: the request encoding of the gateway for ASCII text (each
-- character's code in decimal, joined by "A"), and a summary line at the end of a run.
local common = {}

function common.ascii(text)
  local codes = {}
  for i = 1, #text do codes[i] = tostring(string.byte(text, i)) end
  return table.concat(codes, "A")
end

-- Joins already encoded pieces (ASCII parts and the fixed codes of Chinese words).
function common.join(pieces)
  local parts = {}
  for _, piece in ipairs(pieces) do
    if piece ~= "" then parts[#parts + 1] = piece end
  end
  return table.concat(parts, "A")
end

function common.post(body)
  wrk.method = "POST"
  wrk.path = "/asp/index.asp"
  wrk.headers["Content-Type"] = "application/x-www-form-urlencoded"
  local cookie = os.getenv("ZR_COOKIE")
  if cookie and cookie ~= "" then wrk.headers["Cookie"] = cookie end
  wrk.body = body
end

function common.done(name)
  return function(summary, latency, requests)
    local seconds = summary.duration / 1e6
    local bad = summary.errors.status + summary.errors.connect + summary.errors.read
              + summary.errors.write + summary.errors.timeout
    io.write(string.format("RESULT %-16s %10.1f requests/s   p50 %8.2f ms   p99 %8.2f ms   %d requests, %d errors\n",
      name, summary.requests / seconds, latency:percentile(50) / 1000,
      latency:percentile(99) / 1000, summary.requests, bad))
  end
end

-- Codes of the Chinese words of the statements.
common.USER_TABLE = "-11325A-17497A-17956A-16147"  -- 用户管理
common.USER = "-11325A-17497"                      -- 用户
common.PASSWORD = "-15396A-15637"                  -- 密码
common.SETTINGS_TABLE = "-12363A-12877A-13848A-10557"  -- 系统设置

return common
