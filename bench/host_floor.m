function host_floor(blocks)
  % What the host's generators alone cost a call: the same "rand" and
  % "randn" blocks (from count_callbacks), drawn in m-code.
  for k = blocks.randn, randn(k, 1); end
  for k = blocks.rand, rand(k, 1); end
end
