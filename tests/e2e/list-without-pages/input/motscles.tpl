<html>
<body>
<h1>Index</h1>
  <!-- <template target="principal" /> -->
</body>
</html>
