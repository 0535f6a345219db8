-- Code 1: the sign-in lookup of the demo account; every request verifies an Argon2id hash.
package.path = os.getenv("ZR_BENCH_DIR") .. "/?.lua;" .. package.path
local c = require("common")
c.post("zc=49&sql=" .. c.join({
  c.ascii("Select * from "), c.USER_TABLE, c.ascii(" where "), c.USER,
  c.ascii("='88888888' and "), c.PASSWORD, c.ascii("='zenri520'")}))
done = c.done("sign-in-lookup")
