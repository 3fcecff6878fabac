-- wrk script: every request posts a different score, as many players would.
local counter = 0

request = function()
  counter = counter + 1
  return wrk.format("GET", "/cgi-bin/velnorsolo.cgi?name=bench" .. (counter % 100) ..
                    "&date=1%2F5%2F27&score=" .. (counter % 651))
end
