function G = angular_peer(U, f, lambda, z, L)
  % The textbook angular spectrum with evanescent waves and the band limit
  % removed, as KVAngularSpectrum does: the peer its timings compare with.
  [FX, FY] = ndgrid(f, f);
  S = FX.^2 + FY.^2;
  W = 1 / lambda^2 - S;
  keep = W >= 0 & z^2 * max(FX.^2, FY.^2) <= (L / 2)^2 * W;
  H = keep .* exp(-1i * 2 * pi * z * S ./ (sqrt(max(W, 0)) + 1 / lambda));
  G = ifft2(fft2(U) .* H);
end
