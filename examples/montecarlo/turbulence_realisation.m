function I = turbulence_realisation(seed, p)
% turbulence_realisation  One realisation of a Gaussian beam through turbulence.
%
%   I = turbulence_realisation(seed, p)
%
%   seed  the realisation's seed, an integer; its K phase screens use the
%         seeds K*seed ... K*seed + K - 1, so no two realisations share a
%         screen
%   p     the beam and the path, a struct:
%           size, N    grid side (m) and samples per side
%           lambda     wavelength (m)
%           w0         beam waist at the transmitter (1/e^2 intensity radius, m)
%           L, K       path length (m) and number of equal slabs
%           Cn2        refractive-index structure constant (m^(-2/3)); 0: vacuum
%           L0, l0     outer and inner scale (m); Inf and 0: Kolmogorov
%           absorber   radius (m) of the order-8 super-Gaussian absorbing edge
%   I     the intensity at the receiver, N x N
%
%   Split-step propagation: K slabs of length dz = L/K, a phase screen in
%   the middle of each with the Fried parameter of its slab,
%     r0_k = (0.423 k^2 Cn2 dz)^(-3/5),   k = 2 pi/lambda,
%   KVAngularSpectrum over dz between screens and over dz/2 before the
%   first and after the last. After every step KVSuperGaussAperture damps
%   the grid's edge, so light that leaves the grid does not come back on
%   the other side (FFT propagation is periodic) and the screens' edges
%   do not ring into the middle.
%
%   The result depends only on seed and p: it is the same, bit for bit, in
%   whichever process, machine or order it is computed (on one build), so
%   a loop, parcellfun, netcellfun and MATLAB's parfor all give the same
%   ensemble. For that the FFTs are planned by estimate: measured plans
%   are chosen by timing, so two processes could choose two plans that
%   differ in the last bits (see KVFftw).
%
%   See examples/turbulence_montecarlo.m.
  KVFftw('planner', 'estimate');    % the same FFT plans in every process
  dz = p.L / p.K;
  k = 2 * pi / p.lambda;
  r0 = (0.423 * k^2 * p.Cn2 * dz)^(-3/5);      % Inf when Cn2 = 0
  edge = @(F) KVSuperGaussAperture(p.absorber, 8, 0, 0, 1, F);
  F = KVGaussHermite(0, 0, 1, p.w0, KVBegin(p.size, p.lambda, p.N));
  F = edge(KVAngularSpectrum(dz / 2, F));
  for j = 1:p.K
    F = KVMultPhase(KVTurbScreen(p.K * seed + j - 1, r0, p.L0, p.l0, F), F);
    step = dz;
    if (j == p.K)
      step = dz / 2;
    end
    F = edge(KVAngularSpectrum(step, F));
  end
  I = KVIntensity(0, F);
end
