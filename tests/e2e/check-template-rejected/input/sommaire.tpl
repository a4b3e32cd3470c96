<html>
<body>
  <!-- <template target="main" /> -->
</body>
</html>
