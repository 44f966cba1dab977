% The Strehl ratio of a circular pupil against the amplitude of a single
% Zernike aberration: defocus, astigmatism, coma and spherical aberration,
% each from 0 to 3 radians at the pupil edge. For defocus the curve is
% compared with the Marechal estimate exp(-sigma^2): the phase 2*rho^2 - 1
% has a variance of 1/3 over the pupil, so sigma^2 = A^2/3.
% Writes build/demo/strehl_curve.png.

outdir = demo_dir();

side = 5e-3;
lambda = 633e-9;
N = 128;
R = 2e-3;                    % pupil radius; the terms reach A there
A = linspace(0, 3, 31);      % amplitudes, rad

% n, m, name
terms = {2, 0, 'defocus (2,0)'; 2, 2, 'astigmatism (2,2)'; ...
         3, 1, 'coma (3,1)'; 4, 0, 'spherical (4,0)'};

pupil = KVCircAperture(R, 0, 0, KVBegin(side, lambda, N));
SR = zeros(rows(terms), numel(A));
for t = 1:rows(terms)
  for k = 1:numel(A)
    SR(t, k) = KVStrehl(KVZernike(terms{t, 1}, terms{t, 2}, R, A(k), pupil));
  end
end

fig = figure('visible', 'off', 'position', [0 0 640 480]);
plot(A, SR, 'linewidth', 2);
hold on;
plot(A, exp(-A.^2 / 3), 'k--');
plot([A(1) A(end)], [0.8 0.8], 'k:');
hold off;
grid on;
axis([A(1) A(end) 0 1.05]);
xlabel('aberration amplitude A at the pupil edge (rad)');
ylabel('Strehl ratio');
title('circular pupil, one Zernike term');
legend([terms(:, 3)' {'Marechal, defocus', '0.8'}], 'location', 'northeast');
print(fig, '-dpngcairo', '-r80', fullfile(outdir, 'strehl_curve.png'));
close(fig);

% Where each curve falls below 0.8, the usual limit of a well corrected
% system.
for t = 1:rows(terms)
  k = find(SR(t, :) < 0.8, 1);
  printf('  %-18s Strehl 0.8 reached near A = %.1f rad\n', terms{t, 3}, A(k));
end
