% A two-beam interferometer. A collimated beam is split into two arms of
% half the intensity each; one arm is tilted slightly (left), or carries a
% weak lens (right), and the two are mixed again. The tilt gives straight
% fringes spaced lambda / tilt apart; the lens gives circular fringes.
% Below each interferogram: the phase difference between the arms, the
% phase of the object arm unwrapped from the centre (black low, white
% high).
% Writes build/demo/interferometer.png.

outdir = demo_dir();

side = 8e-3;
lambda = 633e-9;
N = 256;
w = 3e-3;                  % beam radius
tilt = 1e-3;               % rad, along x
f = 2;                     % focal length of the lens, m

beam = KVGaussAperture(w, 0, 0, 1, KVBegin(side, lambda, N));
half = KVIntAttenuator(0.5, beam);
arms = {KVTilt(tilt, 0, half), KVLens(f, 0, 0, half)};

panels = zeros(2 * N, 2 * N);
for k = 1:2
  out = KVBeamMix(half, arms{k});
  I = KVIntensity(1, out);
  % The object arm's phase, unwrapped from the centre, scaled to 0..1.
  P = KVPhaseUnwrap(1, KVPhase(arms{k}));
  P = (P - min(P(:))) / max(max(P(:)) - min(P(:)), eps);
  c = (k - 1) * N + (1:N);
  panels(1:N, c) = I;
  panels(N + (1:N), c) = P;
  printf('  arm %d: phase difference across the grid %.1f rad, contrast %.2f\n', k, ...
          max(max(KVPhaseUnwrap(1, KVPhase(arms{k})))) - ...
          min(min(KVPhaseUnwrap(1, KVPhase(arms{k})))), ...
          (max(I(N/2 + 1, :)) - min(I(N/2 + 1, :))) / max(I(N/2 + 1, :)));
end
printf('  tilt fringes %.3g mm apart, %.1f across the grid\n', lambda / tilt * 1e3, ...
       side * tilt / lambda);

imwrite(ind2rgb(1 + round(255 * panels), gray(256)), fullfile(outdir, 'interferometer.png'));
