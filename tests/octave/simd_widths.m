function widths = simd_widths()
  % The lane widths the modules can be forced to run (BAYESMEX_SIMD, read at
  % every call); a width the CPU lacks runs the widest it has.
  widths = {'1', '2', '4', '8'};
end
